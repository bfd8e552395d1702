// The colour dialog and the sixteen custom colours it keeps from one use to
// the next in the per-user settings store (section "cDialog", key
// "RegColors"), and the board-colour command built on it.
#pragma once

#include "game/Board.h"
#include "game/GameState.h"
#include "game/MainWindowPort.h"
#include "platform/Host.h"

#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

namespace support {

// The per-user settings store: values named by a section and a key, kept
// under the application's name.
class UserSettings {
public:
    virtual ~UserSettings() = default;
    // nullopt when nothing is stored or the store cannot be read.
    virtual std::optional<QString> GetSetting(const QString& section, const QString& key) = 0;
    // false when the value could not be stored.
    virtual bool SaveSetting(const QString& section, const QString& key, const QString& value) = 0;
};

// A store kept as an INI file.
class IniUserSettings : public UserSettings {
public:
    explicit IniUserSettings(QString path) : m_Path(std::move(path)) {}
    // The file of the current user for the application `appName`.
    static QString DefaultPath(const QString& appName);

    std::optional<QString> GetSetting(const QString& section, const QString& key) override;
    bool SaveSetting(const QString& section, const QString& key, const QString& value) override;
    const QString& Path() const { return m_Path; }

private:
    QString m_Path;
};

inline const QString kColorSection = QStringLiteral("cDialog");
inline const QString kColorKey = QStringLiteral("RegColors");
constexpr int32_t kWhiteColor = 16777215;

using ColorList = std::array<int32_t, 16>;

// The stored custom-colour text read as sixteen colours: decimal numbers
// joined by ","; a fraction rounds to the nearest integer, ties to even;
// entries beyond the sixteenth are ignored. nullopt when the text has fewer
// than sixteen entries or one that is not a number of 32 bits.
std::optional<ColorList> ParseCustomColors(const QString& text);
// The sixteen colours as the store keeps them.
QString JoinCustomColors(const ColorList& colors);

class ModCmnDlg {
public:
    ModCmnDlg(platform::Host& host, std::unique_ptr<UserSettings> store);

    // Shows the colour dialog starting at `initial` (blue-green-red), with
    // its custom-colour part open when `fullOpen`. Returns the chosen colour,
    // or -1 when the player cancelled. The custom colours are read from the
    // store before and written back after, also after a cancel; a stored
    // list that cannot be read gives sixteen whites.
    int32_t ShowColor(int32_t initial, bool fullOpen);

    void SetStore(std::unique_ptr<UserSettings> store) { m_Store = std::move(store); }
    UserSettings& Store() { return *m_Store; }

    ColorList CustomColors{};

private:
    platform::Host& m_Host;
    std::unique_ptr<UserSettings> m_Store;
};

// Lets the player pick the board's colour. A chosen colour becomes the
// board's background (picBG, and picScreen redrawn or filled), the board is
// refreshed and the colour written as "Color" to config.ini in
// state.AppPath. Returns false when the player cancelled. A settings file
// that cannot be written keeps the new colour for this run only.
bool ChooseBackColor(ModCmnDlg& dialog, const game::GameState& state, game::BoardSurfaces& surfaces,
                     game::MainWindowPort& window);

}  // namespace support
