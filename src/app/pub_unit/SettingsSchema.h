// SPDX-License-Identifier: GPL-3.0-or-later
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
    shi,        // hours of the duration
    feng,       // minutes
    miao,       // seconds
    qiancolor,  // digit colour
    beicolor,   // display background
    fontsize,   // display font size in points
    mp3,        // alarm sound file
    showtop,    // top panel of the main window shown
    ico,        // corner picture file
    showico,    // corner picture shown
    playtime,   // alarm lead in seconds
    autofit,    // digits fitted to the display
    monitor,    // monitor of the full screen, 0 for the window's own
    warn1,      // remaining seconds from which the digits take warn1color, 0 for off
    warn2,      // the same for warn2color
    warn1color, // digit colour of the first warning
    warn2color, // digit colour of the second warning
    overcolor,  // digit colour below zero; clDefault for the digit colour
    overflash,  // digits blink below zero
    endmode,    // the countdown runs to the end time instead of for the duration
    endtime,    // end time of day, HH:MM
    showend,    // a line under the digits tells when the countdown ends
    presets,    // quick-start durations in minutes, comma-separated
    recent,     // the durations started last, in seconds, most recent first
    keepawake,  // no screen saver or blanking while counting
    alarmloop,  // the alarm repeats until the finish box is closed
    remote,     // the web remote on the local network
    remoteport, // its TCP port
};

enum class Kind
{
    Integer,
    Colour,
    Path,
    Boolean,
    Text,
};

struct Entry
{
    Key key;
    const char16_t *name;
    // Empty for the sound file, whose default depends on where the program runs.
    const char16_t *defaultText;
    Kind kind;
};

inline constexpr std::array<Entry, 28> entries{{
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
    {Key::warn1, u"warn1", u"0", Kind::Integer},
    {Key::warn2, u"warn2", u"0", Kind::Integer},
    {Key::warn1color, u"warn1color", u"clYellow", Kind::Colour},
    {Key::warn2color, u"warn2color", u"clRed", Kind::Colour},
    {Key::overcolor, u"overcolor", u"clDefault", Kind::Colour},
    {Key::overflash, u"overflash", u"false", Kind::Boolean},
    {Key::endmode, u"endmode", u"false", Kind::Boolean},
    {Key::endtime, u"endtime", u"12:00", Kind::Text},
    {Key::showend, u"showend", u"false", Kind::Boolean},
    {Key::presets, u"presets", u"5,10,15,25,45,60", Kind::Text},
    {Key::recent, u"recent", u"", Kind::Text},
    {Key::keepawake, u"keepawake", u"true", Kind::Boolean},
    {Key::alarmloop, u"alarmloop", u"false", Kind::Boolean},
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
