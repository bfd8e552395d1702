#include "game/Puzzle.h"

#include "game/Fitting.h"
#include "game/PuzzleModule.h"

#include <utility>

namespace game {

Puzzle::Puzzle(GameState& state, BoardSurfaces& surfaces, BoardView& view, MainWindowPort& window,
               platform::Host& host, platform::Random& random)
    : m_State(state), m_Surfaces(surfaces), m_View(view), m_Window(window), m_Host(host), m_Random(random) {}

void Puzzle::PlayCue(const QByteArray& wave) {
    if (m_Window.SoundsChecked()) m_Host.PlaySound(wave);
}

MiniatureRect Puzzle::MiniatureFor(QSize picture) const {
    const QSize frame = m_Window.MiniatureFrameSize();
    return SetSize(static_cast<float>(picture.width()), static_cast<float>(picture.height()),
                   static_cast<float>(frame.width()), static_cast<float>(frame.height()));
}

void Puzzle::ShowTooSmall() {
    platform::MessageBox box;
    box.Text = QStringLiteral("A imagem selecionada é muito pequena!");
    box.Buttons = platform::MsgButtons::Ok;
    box.Icon = platform::MsgIcon::Critical;
    m_Host.ShowMessage(box);
}

void Puzzle::AdoptBoard(BoardSurfaces& work, const MiniatureRect& miniature) {
    m_Surfaces.picMasks[1] = std::move(work.picMasks[1]);
    m_Surfaces.picPat = std::move(work.picPat);
    m_Surfaces.picMaster = std::move(work.picMaster);
    // Nothing reads the loaded picture once the miniature has its copy: a
    // running game does not keep a photograph that may take 100 MB or more.
    m_Surfaces.PicTemp = platform::Surface();
    Panning = false;
    m_Surfaces.picScreen.Fill(platform::PixelFromColor(m_Surfaces.BackColor));
    Recompose();
    m_State.SelectedPiece = -1;
    m_State.GameRunning = true;
    m_Window.SetTimer(true);
    m_Window.SetMiniatureGeometry(miniature.Left, miniature.Top, miniature.Width, miniature.Height);
    m_Window.SetMiniaturePicture(work.PicTemp);
    if (m_Window.MiniatureChecked()) m_Window.ShowMiniature(true);
}

}  // namespace game
