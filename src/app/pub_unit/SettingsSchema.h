#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>

// The keys of the settings file's one section, each with the default both windows read it
// with and the form of its value. The defaults are never written: every read passes its
// key's default. The typed reads and writes are the only place the texts are converted.
//
//   const QString path = pub_unit::settingsFilePath();
//   RzSpinEdit1->setText(SettingsSchema::read(path, SettingsSchema::Key::shi));
//   const bool showTop = SettingsSchema::readBoolean(path, SettingsSchema::Key::showtop);
//   SettingsSchema::write(path, SettingsSchema::Key::showtop, false);
namespace SettingsSchema {

inline const QString section = QStringLiteral("SET");

// In the order the settings dialog reads them.
enum class Key
{
    shi,       // hours of the duration
    feng,      // minutes
    miao,      // seconds
    qiancolor, // digit colour
    beicolor,  // display background
    fontsize,  // display font size in points
    mp3,       // alarm sound file
    showtop,   // top panel of the main window shown
    ico,       // corner picture file
    showico,   // corner picture shown
    playtime,  // alarm lead in seconds
    autofit,   // digits fitted to the display
    monitor,   // monitor of the full screen, 0 for the window's own
    remote,    // the web remote on the local network
    remoteport, // its TCP port
};

enum class Kind
{
    Integer,
    Colour,
    Path,
    Boolean,
};

struct Entry
{
    Key key;
    const char16_t *name;
    // Empty for the sound file, whose default depends on where the program runs.
    const char16_t *defaultText;
    Kind kind;
};

inline constexpr std::array<Entry, 15> entries{{
    {Key::shi, u"shi", u"01", Kind::Integer},
    {Key::feng, u"feng", u"30", Kind::Integer},
    {Key::miao, u"miao", u"00", Kind::Integer},
    {Key::qiancolor, u"qiancolor", u"clred", Kind::Colour},
    {Key::beicolor, u"beicolor", u"clBlack", Kind::Colour},
    {Key::fontsize, u"fontsize", u"72", Kind::Integer},
    {Key::mp3, u"mp3", u"", Kind::Path},
    {Key::showtop, u"showtop", u"true", Kind::Boolean},
    {Key::ico, u"ico", u"", Kind::Path},
    {Key::showico, u"showico", u"false", Kind::Boolean},
    {Key::playtime, u"playtime", u"0", Kind::Integer},
    {Key::autofit, u"autofit", u"false", Kind::Boolean},
    {Key::monitor, u"monitor", u"0", Kind::Integer},
    {Key::remote, u"remote", u"false", Kind::Boolean},
    {Key::remoteport, u"remoteport", u"8760", Kind::Integer},
}};

constexpr const Entry &entry(Key key)
{
    return entries[std::size_t(key)];
}

QString name(Key key);
// The default a read passes; for `mp3` the sound file beside the program.
QString defaultValue(Key key);

// One read of the key from the settings file at path, with the key's default: the text
// as stored (a quoted path without its quotes).
QString read(const QString &path, Key key);
// Typed reads of a key of that kind. An integer never fails: text that is not one gives
// the key's default. A colour or boolean that does not convert throws EConvertError.
std::int32_t readInteger(const QString &path, Key key);
std::int32_t readColour(const QString &path, Key key);
bool readBoolean(const QString &path, Key key);

// The text a typed value of the key's kind is written as.
QString valueText(Key key, std::int32_t value); // integer or colour
QString valueText(Key key, bool value);

// One write; throws EIniFileException when the file cannot be written.
void write(const QString &path, Key key, const QString &value);
void write(const QString &path, Key key, std::int32_t value); // integer or colour
void write(const QString &path, Key key, bool value);
// A text literal would otherwise be taken for a boolean.
void write(const QString &path, Key key, const char *value) = delete;

} // namespace SettingsSchema
