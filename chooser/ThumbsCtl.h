// The thumbnail grid: a scrollable panel of framed picture thumbnails, filled
// one path at a time or from a whole folder, with a highlighted current item
// and click, double-click and mouse events for its host window. Geometry is
// kept in twips (15 per pixel) and placed on the screen in pixels.
#pragma once

#include "chooser/PropertyBag.h"
#include "chooser/ThumbLayout.h"
#include "chooser/cPicScroll.h"
#include "game/GameState.h"
#include "platform/Host.h"

#include <QImage>
#include <QPointer>
#include <QRectF>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QFrame;
class QScrollBar;

namespace platform {
class PictureFile;
}

namespace chooser {

class ThumbImage;
class ThumbFrame;

class ThumbsCtl : public QWidget {
public:
    ThumbsCtl(game::GameState& state, platform::Host& host, QWidget* parent = nullptr);
    ~ThumbsCtl() override;

    // Public members.
    void AddItem(QString Caminho);
    int32_t BackColor() const { return m_FundoColor; }
    void SetBackColor(const int32_t& cColor);
    void Clear();
    int16_t Columns() const { return m_Columns; }
    void SetColumns(int16_t newColumns) { m_Columns = newColumns; }
    int32_t ColumnType() const { return m_ColumnType; }
    void SetColumnType(const int32_t& NewColumnType);
    int32_t ForeColor() const { return FrameColor(0); }
    void SetForeColor(const int32_t& cColor);
    bool ImageToolTip() const { return m_ImageToolTip; }
    void SetImageToolTip(bool newToolTipImg);
    QString ItemIndex() const { return QString::number(m_ItemIndex); }
    // The item's path; std::out_of_range outside 0 to ListCount.
    QString ItemData(const int16_t& Index) const;
    int16_t ListCount() const { return static_cast<int16_t>(m_Paths.size() - 1); }
    QString Path() const { return m_Path; }
    void SetPath(QString sPath);
    void RemoveItem(int16_t Index);
    // Adds every picture file of a folder; appends the separator to `Path`.
    void ScanPath(QString& Path);

    // Events. Values come by reference; for the click and the double-click
    // a new Filename becomes the item's path.
    std::function<void(int16_t& PicIndex, QString& Filename)> ImageClick;
    std::function<void(int16_t& PicIndex, QString& Filename)> ImageDblClick;
    using MouseEvent = std::function<void(int16_t& PicIndex, int16_t& Button, int16_t& Shift, float& X, float& Y,
                                          QString& Filename)>;
    MouseEvent ImageMouseDown;
    MouseEvent ImageMouseMove;
    MouseEvent ImageMouseUp;
    // Told the name of a persisted property that changed.
    std::function<void(const QString&)> PropertyChanged;

    // The host window's busy label, shown by a long scan.
    void SetWaitLabel(QWidget* label) { m_WaitLabel = label; }

    void UserControl_ReadProperties(const PropertyBag& bag);
    void UserControl_WriteProperties(PropertyBag& bag) const;

    // Handlers of the cells and of the scroll bar.
    void imgFigura_Click(int16_t Index);
    void imgFigura_DblClick(int16_t Index);
    void imgFigura_Mouse(const MouseEvent& event, int16_t Index, int16_t Button, int16_t Shift, float X, float Y);
    void scrThumbs_Change();

    // What the grid shows, for its host and the tests: lengths in twips.
    int16_t CellCount() const { return static_cast<int16_t>(m_Cells.size() - 1); }
    QWidget* imgFigura(int16_t i) const;
    QWidget* lblFigura(int16_t i) const;
    int32_t FrameColor(int16_t i) const;
    QRectF FrameRect(int16_t i) const;
    QRectF ThumbRect(int16_t i) const;
    QString CellToolTip(int16_t i) const;
    QImage Thumbnail(int16_t i) const;
    bool IsPlaceholder(int16_t i) const;
    const std::vector<QString>& Dims() const { return m_Dims; }
    QScrollBar* scrThumbs() const { return m_scrThumbs; }
    QWidget* picInterior() const { return m_picInterior; }
    QSizeF InteriorSize() const { return {m_InteriorW, m_InteriorH}; }
    float InteriorTop() const { return m_InteriorTop; }
    int16_t SelIndex() const { return m_SelIndex; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Cell {
        QPointer<ThumbFrame> Frame;
        QPointer<ThumbImage> Image;
        QRectF FrameTw{0, kFrameTemplateTop, kFrameWidth, kFrameHeight};
        QRectF ImageTw{45, 45, kThumbMaxWidth, kThumbMaxHeight};
        int32_t FrameColor = kFrameColor;
        QString ToolTip;
    };

    void UserControl_Resize();
    void LoadThumbs();
    void BuildCell(int32_t i, int32_t rowStart, int16_t cols, int16_t c);
    void PaintThumb(int16_t width, int16_t height, int32_t i, platform::PictureFile& picture);
    void SetFrameColor(int16_t i, int32_t color);
    void SetCellToolTip(int32_t i, const QString& text);
    QString BuildToolTip(int32_t i) const;
    void ApplyPanelColors();
    void PlaceInterior();
    void SetScrollBar(int32_t& maximum, int16_t smallChange, int32_t largeChange);
    void RaiseWithStoredPath(const std::function<void(int16_t&, QString&)>& event, int16_t index);
    void Notify(const QString& name);

    game::GameState& m_State;
    platform::Host& m_Host;

    std::vector<QString> m_Paths{QString()};
    std::vector<QString> m_Dims;
    int16_t m_ItemIndex = 0;
    QString m_Path;
    int32_t m_BackColor = 0;
    int32_t m_ForeColor = 0;
    int16_t m_Columns = 1;
    std::unique_ptr<cPicScroll> m_Scroll;
    bool m_ImageToolTip = false;
    int16_t m_SelIndex = 0;
    int32_t m_ColumnType = 0;

    // Bumped by every Clear: work that lets events run checks it to learn
    // that the cells it was filling are gone.
    uint64_t m_Generation = 0;
    std::vector<Cell> m_Cells{Cell{}};  // element 0 is the template
    FittedSize m_Scratch{kThumbMaxWidth, kThumbMaxHeight};
    int32_t m_FundoColor = kGridDefaultBackColor;

    QFrame* m_picFundo = nullptr;
    QWidget* m_FundoClient = nullptr;
    QWidget* m_picInterior = nullptr;
    QScrollBar* m_scrThumbs = nullptr;
    QPointer<QWidget> m_WaitLabel;
    float m_FundoW = 4200, m_FundoH = 3300;
    float m_InteriorW = 4020, m_InteriorH = 3120;
    float m_InteriorTop = 0;
    float m_ScrollHeight = 3300;
};

}  // namespace chooser
