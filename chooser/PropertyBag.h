// The saved design properties of a widget: what a host window restores into
// a widget when it creates it and asks the widget to write when it saves.
// A key is stored only when its value differs from its default, so a bag
// holds exactly what a designer changed.
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <cstdint>

namespace chooser {

class PropertyBag {
public:
    QVariantMap Values;

    bool Contains(const QString& key) const { return Values.contains(key); }

    // Reads a key into `field`: the default when the key is absent, the
    // stored value when it converts, and `field` untouched when it does not
    // (a bad value is skipped, like any other reading error).
    void ReadProperty(const QString& key, int32_t& field, int32_t defaultValue) const;
    void ReadProperty(const QString& key, int16_t& field, int16_t defaultValue) const;
    void ReadProperty(const QString& key, bool& field, bool defaultValue) const;
    void ReadProperty(const QString& key, QString& field, const QString& defaultValue) const;

    // Stores a key, or removes it when the value is the default.
    void WriteProperty(const QString& key, const QVariant& value, const QVariant& defaultValue);
};

}  // namespace chooser
