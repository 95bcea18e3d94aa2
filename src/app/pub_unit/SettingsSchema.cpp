#include "SettingsSchema.h"

#include "pub_unit.h"

namespace SettingsSchema {

namespace {

// The table is indexed by key.
constexpr bool tableFollowsKeys()
{
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (std::size_t(entries[i].key) != i)
            return false;
    }
    return true;
}
static_assert(tableFollowsKeys());

} // namespace

QString name(Key key)
{
    return QString::fromUtf16(entry(key).name);
}

QString defaultValue(Key key)
{
    if (key == Key::mp3)
        return pub_unit::defaultSoundFile();
    return QString::fromUtf16(entry(key).defaultText);
}

QString read(const QString &path, Key key)
{
    return pub_unit::readKey(path, section, name(key), defaultValue(key));
}

void write(const QString &path, Key key, const QString &value)
{
    pub_unit::writeKey(path, section, name(key), value);
}

} // namespace SettingsSchema
