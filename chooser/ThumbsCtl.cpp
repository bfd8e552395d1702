#include "chooser/ThumbsCtl.h"

#include "chooser/Colors.h"
#include "game/Numeric.h"
#include "platform/PictureReader.h"
#include "support/Twips.h"
#include "widgets/SurfaceView.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <cmath>
#include <stdexcept>

namespace chooser {

namespace {

constexpr float kScrollBarWidth = 240;
constexpr float kPanelOffset = 10;

int Pixels(double twips) { return static_cast<int>(std::lround(twips / support::kTwipsPerPixel)); }

QRect PixelRect(const QRectF& tw) {
    return QRect(Pixels(tw.left()), Pixels(tw.top()), Pixels(tw.width()), Pixels(tw.height()));
}

void FillWith(QWidget* w, int32_t color) {
    if (!w) return;
    QPalette p = w->palette();
    p.setColor(QPalette::Window, ToQColor(color));
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

}  // namespace

// One thumbnail box: shows its picture, scaled once when its cell was built,
// and passes its mouse events to the grid with its item number.
class ThumbImage : public QWidget {
public:
    ThumbImage(ThumbsCtl* owner, int16_t index, QWidget* parent) : QWidget(parent), m_Owner(owner), m_Index(index) {
        // The host hears of the pointer passing over a thumbnail, not only
        // of drags that began on one.
        setMouseTracking(true);
    }

    QImage Picture;
    bool Placeholder = false;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (Placeholder) {
            // A file that is not a readable picture: a plain crossed box,
            // never another file's picture.
            painter.fillRect(rect(), QColor(0xE6, 0xE6, 0xE6));
            painter.setPen(QPen(QColor(0xA0, 0x30, 0x30), 2));
            const QRect r = rect().adjusted(rect().width() / 3, rect().height() / 3, -rect().width() / 3,
                                            -rect().height() / 3);
            painter.drawLine(r.topLeft(), r.bottomRight());
            painter.drawLine(r.topRight(), r.bottomLeft());
            return;
        }
        painter.fillRect(rect(), palette().color(QPalette::Button));
        if (!Picture.isNull()) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
            painter.drawImage(rect(), Picture);
        }
    }
    void mousePressEvent(QMouseEvent* e) override { Mouse(m_Owner ? &m_Owner->ImageMouseDown : nullptr, e, e->button()); }
    void mouseMoveEvent(QMouseEvent* e) override { Mouse(m_Owner ? &m_Owner->ImageMouseMove : nullptr, e, e->buttons()); }
    void mouseReleaseEvent(QMouseEvent* e) override {
        const bool click = e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && !m_AfterDouble;
        m_AfterDouble = false;
        QPointer<ThumbImage> self(this);
        Mouse(m_Owner ? &m_Owner->ImageMouseUp : nullptr, e, e->button());
        if (self && click && m_Owner) m_Owner->imgFigura_Click(m_Index);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton) return;
        m_AfterDouble = true;
        if (m_Owner) m_Owner->imgFigura_DblClick(m_Index);
    }

private:
    void Mouse(const ThumbsCtl::MouseEvent* event, QMouseEvent* e, Qt::MouseButtons buttons) {
        if (!event || !*event || !m_Owner) return;
        m_Owner->imgFigura_Mouse(*event, m_Index, SurfaceView::ButtonsCode(buttons), SurfaceView::ShiftCode(e->modifiers()),
                                 static_cast<float>(e->position().x() * support::kTwipsPerPixel),
                                 static_cast<float>(e->position().y() * support::kTwipsPerPixel));
    }

    QPointer<ThumbsCtl> m_Owner;
    int16_t m_Index;
    bool m_AfterDouble = false;
};

// One cell's frame: a coloured label behind the thumbnail. It only clicks.
class ThumbFrame : public QLabel {
public:
    ThumbFrame(ThumbsCtl* owner, int16_t index, QWidget* parent) : QLabel(parent), m_Owner(owner), m_Index(index) {}

protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        const bool click = e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && !m_AfterDouble;
        m_AfterDouble = false;
        if (click && m_Owner) m_Owner->imgFigura_Click(m_Index);
    }
    void mouseDoubleClickEvent(QMouseEvent*) override { m_AfterDouble = true; }

private:
    QPointer<ThumbsCtl> m_Owner;
    int16_t m_Index;
    bool m_AfterDouble = false;
};

ThumbsCtl::ThumbsCtl(game::GameState& state, platform::Host& host, QWidget* parent)
    : QWidget(parent), m_State(state), m_Host(host) {
    m_picFundo = new QFrame(this);
    m_picFundo->setObjectName(QStringLiteral("picFundo"));
    m_picFundo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_picFundo->setLineWidth(1);
    m_FundoClient = new QWidget(m_picFundo);
    m_picInterior = new QWidget(m_FundoClient);
    m_picInterior->setObjectName(QStringLiteral("picInterior"));
    m_scrThumbs = new QScrollBar(Qt::Vertical, this);
    m_scrThumbs->setObjectName(QStringLiteral("scrThumbs"));
    m_scrThumbs->setMinimum(0);
    m_scrThumbs->setMaximum(0);
    connect(m_scrThumbs, &QScrollBar::valueChanged, this, [this] { scrThumbs_Change(); });
    ApplyPanelColors();
    resize(Pixels(5220), Pixels(5220));
    // UserControl_Initialize
    m_Columns = 1;
    LoadThumbs();
}

ThumbsCtl::~ThumbsCtl() = default;

void ThumbsCtl::Notify(const QString& name) {
    if (PropertyChanged) PropertyChanged(name);
}

void ThumbsCtl::ApplyPanelColors() {
    FillWith(m_picFundo, m_FundoColor);
    FillWith(m_FundoClient, m_FundoColor);
    FillWith(m_picInterior, m_FundoColor);
}

void ThumbsCtl::AddItem(QString Caminho) {
    // Item numbers are 16-bit: a list already that long takes no more.
    if (m_Paths.size() > static_cast<size_t>(kMaxItems)) return;
    m_Paths.push_back(std::move(Caminho));
    LoadThumbs();
}

void ThumbsCtl::SetBackColor(const int32_t& cColor) {
    m_BackColor = cColor;
    Notify(QStringLiteral("BackColor"));
    m_FundoColor = cColor;
    ApplyPanelColors();
}

void ThumbsCtl::SetColumnType(const int32_t& NewColumnType) {
    m_ColumnType = NewColumnType;
    Notify(QStringLiteral("ColumnType"));
}

void ThumbsCtl::SetForeColor(const int32_t& cColor) {
    m_ForeColor = cColor;
    Notify(QStringLiteral("ForeColor"));
    for (size_t i = 0; i < m_Cells.size(); ++i) SetFrameColor(static_cast<int16_t>(i), cColor);
}

void ThumbsCtl::SetImageToolTip(bool newToolTipImg) {
    m_ImageToolTip = newToolTipImg;
    const int16_t count = ListCount();
    for (int32_t i = 1; i <= count; ++i) {
        if (m_ImageToolTip && m_Paths[i].isEmpty()) break;
        SetCellToolTip(i, m_ImageToolTip ? BuildToolTip(i) : QString());
    }
}

QString ThumbsCtl::ItemData(const int16_t& Index) const {
    if (Index < 0 || static_cast<size_t>(Index) >= m_Paths.size())
        throw std::out_of_range("ThumbsCtl::ItemData: no such item");
    return m_Paths[Index];
}

void ThumbsCtl::SetPath(QString sPath) {
    m_Path = std::move(sPath);
    Notify(QStringLiteral("Path"));
}

void ThumbsCtl::RemoveItem(int16_t) {}

void ThumbsCtl::Clear() {
    ++m_Generation;
    const size_t upper = m_Cells.size() - 1;
    for (size_t i = 1; i <= upper; ++i) {
        // Deferred: a cell may be in the middle of its own mouse event.
        for (QWidget* w : {static_cast<QWidget*>(m_Cells[i].Image.data()), static_cast<QWidget*>(m_Cells[i].Frame.data())}) {
            if (!w) continue;
            w->hide();
            w->deleteLater();
        }
    }
    m_Cells.resize(1);
    m_Paths.assign(1, QString());
    m_ItemIndex = 0;
    m_InteriorW = m_FundoW;
    m_InteriorH = m_FundoH;
    PlaceInterior();
    int32_t maximum = static_cast<int32_t>(std::lround(m_InteriorH - m_FundoH)) + 200;
    try {
        SetScrollBar(maximum, m_State.PieceBox, game::Int32(m_InteriorH / 3));
    } catch (const std::exception&) {
        // A panel too long for the bar's steps keeps the bar's old steps.
    }
}

void ThumbsCtl::SetScrollBar(int32_t& maximum, int16_t smallChange, int32_t largeChange) {
    const ScrollSetting s = ScrollBarSetting(maximum, smallChange, largeChange);
    if (s.Maximum) m_scrThumbs->setMaximum(*s.Maximum);
    m_scrThumbs->setSingleStep(s.SmallChange);
    m_scrThumbs->setPageStep(s.LargeChange);
}

void ThumbsCtl::imgFigura_Click(int16_t Index) {
    m_ItemIndex = Index;
    SetFrameColor(m_SelIndex, kFrameColor);
    m_SelIndex = Index;
    SetFrameColor(Index, kSelectedFrameColor);
    RaiseWithStoredPath(ImageClick, Index);
}

void ThumbsCtl::imgFigura_DblClick(int16_t Index) {
    m_ItemIndex = Index;
    RaiseWithStoredPath(ImageDblClick, Index);
}

void ThumbsCtl::RaiseWithStoredPath(const std::function<void(int16_t&, QString&)>& event, int16_t index) {
    if (!event || index < 0 || static_cast<size_t>(index) >= m_Paths.size()) return;
    // The handler gets the item's path to read or replace. It works on a
    // copy that is stored back afterwards, because the handler may let
    // events run that add items or empty the grid meanwhile.
    const auto handler = event;
    int16_t picIndex = index;
    QString filename = m_Paths[index];
    const uint64_t generation = m_Generation;
    QPointer<ThumbsCtl> self(this);
    handler(picIndex, filename);
    if (self && generation == m_Generation && static_cast<size_t>(index) < m_Paths.size())
        m_Paths[index] = filename;
}

void ThumbsCtl::imgFigura_Mouse(const MouseEvent& event, int16_t Index, int16_t Button, int16_t Shift, float X,
                                float Y) {
    if (!event || Index < 0 || static_cast<size_t>(Index) >= m_Paths.size()) return;
    const auto handler = event;
    QString filename = m_Paths[Index];
    handler(Index, Button, Shift, X, Y, filename);
}

void ThumbsCtl::SetFrameColor(int16_t i, int32_t color) {
    if (i < 0 || static_cast<size_t>(i) >= m_Cells.size()) return;
    m_Cells[i].FrameColor = color;
    FillWith(m_Cells[i].Frame, color);
}

int32_t ThumbsCtl::FrameColor(int16_t i) const {
    if (i < 0 || static_cast<size_t>(i) >= m_Cells.size()) return 0;
    return m_Cells[i].FrameColor;
}

void ThumbsCtl::SetCellToolTip(int32_t i, const QString& text) {
    if (i < 0 || static_cast<size_t>(i) >= m_Cells.size()) return;
    Cell& cell = m_Cells[i];
    cell.ToolTip = text;
    if (cell.Image) cell.Image->setToolTip(text);
    if (cell.Frame) cell.Frame->setToolTip(text);
}

QString ThumbsCtl::BuildToolTip(int32_t i) const {
    const QString& path = m_Paths[i];
    const QString dims = static_cast<size_t>(i) < m_Dims.size() ? m_Dims[i] : QString();
    // A file gone since it was listed counts as empty.
    return ToolTipText(path, QFileInfo(path).size(), dims);
}

void ThumbsCtl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UserControl_Resize();
}

void ThumbsCtl::UserControl_Resize() {
    const float width = static_cast<float>(this->width() * support::kTwipsPerPixel);
    const float height = static_cast<float>(this->height() * support::kTwipsPerPixel);
    m_picFundo->move(Pixels(kPanelOffset), Pixels(kPanelOffset));
    const PanelLayout l = LayoutPanels(width, height, kScrollBarWidth, m_State.PieceBox);
    if (l.Step == 2) return;
    m_FundoW = l.FundoWidth;
    m_FundoH = l.FundoHeight;
    m_picFundo->resize(Pixels(m_FundoW), Pixels(m_FundoH));
    m_FundoClient->setGeometry(m_picFundo->contentsRect());
    if (l.Step == 4) return;
    m_InteriorW = l.InteriorWidth;
    m_InteriorH = l.InteriorHeight;
    PlaceInterior();
    m_ScrollHeight = l.ScrollHeight;
    m_scrThumbs->setGeometry(Pixels(l.ScrollLeft), Pixels(kPanelOffset), Pixels(kScrollBarWidth), Pixels(l.ScrollHeight));
    LoadThumbs();
}

void ThumbsCtl::PlaceInterior() {
    m_picInterior->setGeometry(Pixels(kPanelOffset), Pixels(kPanelOffset + m_InteriorTop), Pixels(m_InteriorW),
                               Pixels(m_InteriorH));
}

void ThumbsCtl::scrThumbs_Change() {
    // ScrollPicture: the panel's top follows the bar.
    m_InteriorTop = -static_cast<float>(m_scrThumbs->value());
    PlaceInterior();
    m_Host.DoEvents();
}

void ThumbsCtl::LoadThumbs() {
    m_Scroll = std::make_unique<cPicScroll>();
    const int32_t n = ListCount();
    if (n == 0) return;
    const int16_t cols = m_ColumnType == 0 ? AutoColumns(m_InteriorW) : m_Columns;
    if (cols < 1) return;
    const uint64_t generation = m_Generation;
    QPointer<ThumbsCtl> self(this);
    bool done = false;
    for (int32_t s = 0; s <= n && !done; s += cols) {
        for (int16_t c = 1; c <= cols; ++c) {
            const int32_t i = s + c;
            if (i > ListCount()) {
                done = true;
                break;
            }
            if (i <= CellCount()) continue;
            BuildCell(i, s, cols, c);
            // The events may have emptied the grid, closed its window or
            // ended the program.
            if (!m_Host.DoEvents() || !self || generation != m_Generation) return;
        }
    }
    const int32_t rows = RowCount(ListCount(), cols);
    m_InteriorH = PanelHeight(kFrameHeight, rows);
    PlaceInterior();
    m_scrThumbs->setMinimum(0);
    m_scrThumbs->setMaximum(ScrollMaximum(m_InteriorH, m_ScrollHeight));
}

void ThumbsCtl::BuildCell(int32_t i, int32_t rowStart, int16_t cols, int16_t c) {
    if (i != CellCount() + 1) return;  // cells are built in order only
    const auto index = static_cast<int16_t>(i);
    Cell cell;
    cell.FrameColor = m_Cells[0].FrameColor;
    cell.Frame = new ThumbFrame(this, index, m_picInterior);
    cell.Image = new ThumbImage(this, index, m_picInterior);
    FillWith(cell.Frame, cell.FrameColor);
    m_Cells.push_back(cell);
    if (m_Dims.size() < static_cast<size_t>(i) + 1) m_Dims.resize(static_cast<size_t>(i) + 1);

    // Only the header is read here; the picture itself is decoded once, at
    // thumbnail size, when it is painted.
    platform::PictureFile picture(m_Paths[i]);
    std::optional<QSize> himetric;
    if (picture) {
        const QSize px = picture.Size();
        himetric = QSize(HimetricFromPixels(px.width()), HimetricFromPixels(px.height()));
    }
    m_Dims[i] = himetric ? SizeText(himetric->width(), himetric->height()) : SizeText(0, 0);
    const FittedSize fit = himetric ? FitPicture(himetric, kThumbMaxHeight, kThumbMaxWidth, m_Scratch)
                                    : FittedSize{kThumbMaxWidth, kThumbMaxHeight};
    if (himetric) m_Scratch = fit;
    try {
        PaintThumb(game::Int16(fit.Width), game::Int16(fit.Height), i, picture);
    } catch (const std::exception&) {
    }

    Cell& built = m_Cells[i];
    const FramePos frame = FramePosition(rowStart, cols, c);
    built.FrameTw = QRectF(frame.Left, frame.Top, kFrameWidth, kFrameHeight);
    built.Frame->setGeometry(PixelRect(built.FrameTw));
    built.Frame->show();
    const FramePos box = CentredThumb(frame, kFrameWidth, kFrameHeight, built.ImageTw.width(), built.ImageTw.height());
    built.ImageTw.moveTo(box.Left, box.Top);
    built.Image->setGeometry(PixelRect(built.ImageTw));
    built.Image->show();
    built.Image->raise();
    SetCellToolTip(i, m_ImageToolTip ? BuildToolTip(i) : QString());
}

void ThumbsCtl::PaintThumb(int16_t width, int16_t height, int32_t i, platform::PictureFile& picture) {
    Cell& cell = m_Cells[i];
    cell.ImageTw.setSize(QSizeF(width, height));
    ThumbImage* image = cell.Image;
    image->Picture = QImage();
    image->Placeholder = true;
    if (picture) {
        // JPEG decodes straight at the reduced size (DCT scaling), so a big
        // photograph costs a fraction of its full decoding.
        QImage scaled = picture.Scaled(QSize(std::max(1, Pixels(width)), std::max(1, Pixels(height))));
        if (!scaled.isNull()) {
            image->Picture = std::move(scaled);
            image->Placeholder = false;
        }
    }
    image->update();
}

QWidget* ThumbsCtl::imgFigura(int16_t i) const {
    return i > 0 && static_cast<size_t>(i) < m_Cells.size() ? m_Cells[i].Image.data() : nullptr;
}

QWidget* ThumbsCtl::lblFigura(int16_t i) const {
    return i > 0 && static_cast<size_t>(i) < m_Cells.size() ? m_Cells[i].Frame.data() : nullptr;
}

QRectF ThumbsCtl::FrameRect(int16_t i) const {
    return i >= 0 && static_cast<size_t>(i) < m_Cells.size() ? m_Cells[i].FrameTw : QRectF();
}

QRectF ThumbsCtl::ThumbRect(int16_t i) const {
    return i >= 0 && static_cast<size_t>(i) < m_Cells.size() ? m_Cells[i].ImageTw : QRectF();
}

QString ThumbsCtl::CellToolTip(int16_t i) const {
    return i >= 0 && static_cast<size_t>(i) < m_Cells.size() ? m_Cells[i].ToolTip : QString();
}

QImage ThumbsCtl::Thumbnail(int16_t i) const {
    const ThumbImage* image = i > 0 && static_cast<size_t>(i) < m_Cells.size() ? m_Cells[i].Image.data() : nullptr;
    return image ? image->Picture : QImage();
}

bool ThumbsCtl::IsPlaceholder(int16_t i) const {
    const ThumbImage* image = i > 0 && static_cast<size_t>(i) < m_Cells.size() ? m_Cells[i].Image.data() : nullptr;
    return image && image->Placeholder;
}

void ThumbsCtl::ScanPath(QString& Path) {
    if (!Path.endsWith(QLatin1Char('/'))) Path += QLatin1Char('/');
    const double start = m_Host.TimeOfDay();
    const uint64_t generation = m_Generation;
    QPointer<ThumbsCtl> self(this);
    try {
        // Plain files only: a folder named like a picture is no picture. A
        // folder that cannot be listed simply yields nothing.
        QDirIterator listing(Path, QDir::Files);
        while (listing.hasNext() && m_State.ChooserOpen) {
            const QString name = listing.next().section(QLatin1Char('/'), -1);
            if (IsPictureName(name)) {
                AddItem(Path + name);
                if (!self) return;
                if (generation != m_Generation) break;  // another folder took over
                if (static_cast<float>(start + 0.4) <= static_cast<float>(m_Host.TimeOfDay()) && m_WaitLabel)
                    m_WaitLabel->setVisible(true);
            }
            if (!m_Host.DoEvents() || !self) return;
            if (generation != m_Generation) break;
        }
    } catch (const std::exception&) {
        // Whatever failed, the items added so far stay.
    }
    if (m_WaitLabel) m_WaitLabel->setVisible(false);
}

void ThumbsCtl::UserControl_ReadProperties(const PropertyBag& bag) {
    bag.ReadProperty(QStringLiteral("BackColor"), m_BackColor, kGridDefaultBackColor);
    m_FundoColor = m_BackColor;
    ApplyPanelColors();
    bag.ReadProperty(QStringLiteral("ForeColor"), m_ForeColor, kFrameColor);
    m_Cells[0].FrameColor = m_ForeColor;
    bag.ReadProperty(QStringLiteral("Path"), m_Path, QString());
    bag.ReadProperty(QStringLiteral("Columns"), m_Columns, int16_t{1});
    bag.ReadProperty(QStringLiteral("ColumnType"), m_ColumnType, 0);
    bag.ReadProperty(QStringLiteral("ImageToolTip"), m_ImageToolTip, true);
}

void ThumbsCtl::UserControl_WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("BackColor"), m_BackColor, kGridDefaultBackColor);
    bag.WriteProperty(QStringLiteral("ForeColor"), m_ForeColor, kFrameColor);
    bag.WriteProperty(QStringLiteral("Path"), m_Path, QString());
    bag.WriteProperty(QStringLiteral("Columns"), static_cast<int>(m_Columns), 1);
    bag.WriteProperty(QStringLiteral("ColumnType"), m_ColumnType, 0);
    bag.WriteProperty(QStringLiteral("ImageToolTip"), m_ImageToolTip, true);
}

}  // namespace chooser
