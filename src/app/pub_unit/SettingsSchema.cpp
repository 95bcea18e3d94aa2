// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsSchema.h"

#include "NumberTexts.h"
#include "ValueEncodings.h"
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

std::int32_t readInteger(const QString &path, Key key)
{
    Q_ASSERT(entry(key).kind == Kind::Integer);
    return NumberTexts::integerFromText(read(path, key),
                                        NumberTexts::integerFromText(defaultValue(key), 0));
}

std::int32_t readColour(const QString &path, Key key)
{
    Q_ASSERT(entry(key).kind == Kind::Colour);
    return ValueEncodings::textToColor(read(path, key));
}

bool readBoolean(const QString &path, Key key)
{
    Q_ASSERT(entry(key).kind == Kind::Boolean);
    return ValueEncodings::textToBool(read(path, key));
}

QString valueText(Key key, std::int32_t value)
{
    Q_ASSERT(entry(key).kind == Kind::Integer || entry(key).kind == Kind::Colour);
    return entry(key).kind == Kind::Colour ? ValueEncodings::colorToText(value)
                                           : NumberTexts::integerToText(value);
}

QString valueText(Key key, bool value)
{
    Q_ASSERT(entry(key).kind == Kind::Boolean);
    Q_UNUSED(key);
    return ValueEncodings::boolToText(value);
}

void write(const QString &path, Key key, const QString &value)
{
    pub_unit::writeKey(path, section, name(key), value);
}

void write(const QString &path, Key key, std::int32_t value)
{
    write(path, key, valueText(key, value));
}

void write(const QString &path, Key key, bool value)
{
    write(path, key, valueText(key, value));
}

} // namespace SettingsSchema
