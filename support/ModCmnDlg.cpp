#include "support/ModCmnDlg.h"

#include "game/Numeric.h"
#include "game/PuzzleModule.h"
#include "support/ModINI.h"
#include "support/StrUtils.h"

#include <QSettings>

#include <cmath>
#include <exception>

namespace support {

QString IniUserSettings::DefaultPath(const QString& appName) {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, appName).fileName();
}

std::optional<QString> IniUserSettings::GetSetting(const QString& section, const QString& key) {
    QSettings settings(m_Path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return std::nullopt;
    const QVariant value = settings.value(section + QLatin1Char('/') + key);
    if (!value.isValid()) return std::nullopt;
    // A text holding commas comes back from an INI file as a list.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

bool IniUserSettings::SaveSetting(const QString& section, const QString& key, const QString& value) {
    QSettings settings(m_Path, QSettings::IniFormat);
    settings.setValue(section + QLatin1Char('/') + key, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

std::optional<ColorList> ParseCustomColors(const QString& text) {
    const QStringList fields = SplitString(text, QStringLiteral(","));
    if (fields.size() < 16) return std::nullopt;
    ColorList colors{};
    for (int i = 0; i < 16; ++i) {
        bool ok = false;
        const double v = fields[i].trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(v)) return std::nullopt;
        const double r = std::nearbyint(v);
        if (r < -2147483648.0 || r > 2147483647.0) return std::nullopt;
        colors[i] = game::Int32(r);
    }
    return colors;
}

QString JoinCustomColors(const ColorList& colors) {
    QStringList parts;
    for (int32_t c : colors) parts << QString::number(c);
    return parts.join(QLatin1Char(','));
}

ModCmnDlg::ModCmnDlg(platform::Host& host, std::unique_ptr<UserSettings> store)
    : m_Host(host), m_Store(std::move(store)) {
    CustomColors.fill(kWhiteColor);
}

int32_t ModCmnDlg::ShowColor(int32_t initial, bool fullOpen) {
    std::optional<ColorList> stored;
    if (m_Store) {
        if (const std::optional<QString> text = m_Store->GetSetting(kColorSection, kColorKey))
            stored = ParseCustomColors(*text);
    }
    // A list that was never stored, or that cannot be read, starts white;
    // the write below then replaces an unreadable one.
    if (stored)
        CustomColors = *stored;
    else
        CustomColors.fill(kWhiteColor);

    const std::optional<int32_t> chosen = m_Host.ShowColor(initial, fullOpen, CustomColors);

    if (m_Store) m_Store->SaveSetting(kColorSection, kColorKey, JoinCustomColors(CustomColors));
    return chosen ? *chosen : -1;
}

bool ChooseBackColor(ModCmnDlg& dialog, const game::GameState& state, game::BoardSurfaces& surfaces,
                     game::MainWindowPort& window) {
    const int32_t color = dialog.ShowColor(surfaces.BackColor, true);
    if (color == -1) return false;
    surfaces.BackColor = color;
    const uint32_t pixel = platform::PixelFromColor(color);
    surfaces.picBG.Fill(pixel);
    if (!state.Pieces.empty()) {
        // A board that cannot be recomposed keeps its old picture until the
        // next move redraws it; the colour change itself stands.
        try {
            game::PuzzleModule::DrawBoard(state, surfaces);
        } catch (const std::exception&) {
        }
    } else {
        surfaces.picScreen.Fill(pixel);
    }
    window.RefreshBoard();
    WriteINI(state.AppPath, kSetupSection, QStringLiteral("Color"), QString::number(color));
    return true;
}

}  // namespace support
