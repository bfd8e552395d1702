#include "chooser/PropertyBag.h"

#include <limits>

namespace chooser {

namespace {

template <typename Int>
void ReadInteger(const QVariantMap& values, const QString& key, Int& field, Int defaultValue) {
    const auto it = values.constFind(key);
    if (it == values.constEnd()) {
        field = defaultValue;
        return;
    }
    bool ok = false;
    const qlonglong v = it->toLongLong(&ok);
    if (!ok || v < std::numeric_limits<Int>::min() || v > std::numeric_limits<Int>::max()) return;
    field = static_cast<Int>(v);
}

}  // namespace

void PropertyBag::ReadProperty(const QString& key, int32_t& field, int32_t defaultValue) const {
    ReadInteger(Values, key, field, defaultValue);
}

void PropertyBag::ReadProperty(const QString& key, int16_t& field, int16_t defaultValue) const {
    ReadInteger(Values, key, field, defaultValue);
}

void PropertyBag::ReadProperty(const QString& key, bool& field, bool defaultValue) const {
    const auto it = Values.constFind(key);
    if (it == Values.constEnd()) {
        field = defaultValue;
        return;
    }
    if (it->typeId() == QMetaType::Bool) {
        field = it->toBool();
        return;
    }
    bool ok = false;
    const qlonglong v = it->toLongLong(&ok);
    if (ok) field = v != 0;
}

void PropertyBag::ReadProperty(const QString& key, QString& field, const QString& defaultValue) const {
    const auto it = Values.constFind(key);
    if (it == Values.constEnd()) {
        field = defaultValue;
        return;
    }
    if (it->canConvert<QString>()) field = it->toString();
}

void PropertyBag::WriteProperty(const QString& key, const QVariant& value, const QVariant& defaultValue) {
    if (value == defaultValue)
        Values.remove(key);
    else
        Values.insert(key, value);
}

}  // namespace chooser
