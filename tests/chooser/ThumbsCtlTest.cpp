// The thumbnail grid: its members and events, the selection frames, the
// cells it lays out, the tool tips, the saved properties and the folder
// scan, including scans that are interrupted from inside.
#include "chooser/ThumbsCtl.h"
#include "support/DamagedPictures.h"
#include "support/FakeHost.h"
#include "tools/SamplePictures.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include <sys/stat.h>

using chooser::ThumbsCtl;

namespace {

QString WritePicture(const QString& folder, const QString& name, int w, int h, QColor color) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    const QString path = QDir(folder).filePath(name);
    const QString upper = name.toUpper();
    if (upper.endsWith(".GIF"))
        tools::WriteGif(image, path);
    else
        image.save(path, upper.endsWith(".BMP") ? "BMP" : "JPEG");
    return path;
}

void WriteText(const QString& path, const QByteArray& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

class Grid : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        state.PieceBox = 160;
        state.ChooserOpen = true;
        grid = std::make_unique<ThumbsCtl>(state, host);
        chooser::PropertyBag bag;
        bag.Values.insert("BackColor", 0xFFFFFF);
        grid->UserControl_ReadProperties(bag);
        grid->resize(7650 / 15, 3420 / 15);  // the chooser's grid: three columns
        grid->show();
        label.hide();
        grid->SetWaitLabel(&label);
    }
    QString Folder() const { return dir.path(); }

    QTemporaryDir dir;
    game::GameState state;
    FakeHost host;
    QLabel label;
    std::unique_ptr<ThumbsCtl> grid;
};

TEST_F(Grid, FreshGridAndItems) {
    EXPECT_EQ(grid->ListCount(), 0);
    EXPECT_EQ(grid->ItemIndex(), "0");
    EXPECT_EQ(grid->ItemData(0), "");
    EXPECT_THROW(grid->ItemData(1), std::out_of_range);
    EXPECT_THROW(grid->ItemData(-1), std::out_of_range);
    const QString a = WritePicture(Folder(), "a.bmp", 40, 30, Qt::red);
    const QString b = WritePicture(Folder(), "b.jpg", 30, 40, Qt::green);
    grid->AddItem(a);
    grid->AddItem(b);
    grid->AddItem(a);
    EXPECT_EQ(grid->ListCount(), 3);
    EXPECT_EQ(grid->ItemData(2), b);
    EXPECT_EQ(grid->CellCount(), 3);
    grid->RemoveItem(2);
    EXPECT_EQ(grid->ListCount(), 3);
}

TEST_F(Grid, ClicksMoveTheHighlightAndRaiseEvents) {
    const QString a = WritePicture(Folder(), "a.bmp", 40, 30, Qt::red);
    for (int i = 0; i < 3; ++i) grid->AddItem(a);
    std::vector<int16_t> clicks, doubles;
    grid->ImageClick = [&](int16_t& i, QString&) { clicks.push_back(i); };
    grid->ImageDblClick = [&](int16_t& i, QString&) { doubles.push_back(i); };
    QTest::mouseClick(grid->imgFigura(2), Qt::LeftButton);
    EXPECT_EQ(grid->ForeColor(), chooser::kFrameColor);  // the template took the frame colour
    QTest::mouseClick(grid->lblFigura(3), Qt::LeftButton, {}, QPoint(2, 2));  // a frame click counts
    EXPECT_EQ(grid->FrameColor(2), chooser::kFrameColor);
    EXPECT_EQ(grid->FrameColor(3), 0);
    EXPECT_EQ(grid->ItemIndex(), "3");
    // A double-click arrives as a click first.
    QTest::mouseClick(grid->imgFigura(1), Qt::LeftButton);
    QTest::mouseDClick(grid->imgFigura(1), Qt::LeftButton);
    // The gesture ends with a release, as a player's does; without it the
    // test library holds the button for whatever test runs next.
    QTest::mouseRelease(grid->imgFigura(1), Qt::LeftButton);
    EXPECT_EQ(clicks, (std::vector<int16_t>{2, 3, 1}));
    EXPECT_EQ(doubles, (std::vector<int16_t>{1}));
    EXPECT_EQ(grid->FrameColor(3), chooser::kFrameColor);
    EXPECT_EQ(grid->FrameColor(1), 0);
    EXPECT_EQ(grid->ItemIndex(), "1");
}

TEST_F(Grid, MouseEventsCarryTwipsAndACopyOfThePath) {
    const QString a = WritePicture(Folder(), "a.bmp", 40, 30, Qt::red);
    grid->AddItem(a);
    int16_t button = 0, shift = 0;
    float x = 0, y = 0;
    grid->ImageMouseDown = [&](int16_t&, int16_t& b, int16_t& s, float& px, float& py, QString& f) {
        button = b, shift = s, x = px, y = py;
        f = "changed";
    };
    QTest::mousePress(grid->imgFigura(1), Qt::RightButton, Qt::ShiftModifier, QPoint(4, 6));
    EXPECT_EQ(button, 2);
    EXPECT_EQ(shift, 1);
    EXPECT_FLOAT_EQ(x, 60);
    EXPECT_FLOAT_EQ(y, 90);
    EXPECT_EQ(grid->ItemData(1), a);
    // The pointer passing over a thumbnail with no button held is a move too.
    std::vector<int16_t> moves;
    grid->ImageMouseMove = [&](int16_t& i, int16_t& b, int16_t&, float& px, float&, QString&) {
        moves.push_back(i);
        button = b, x = px;
    };
    QTest::mouseRelease(grid->imgFigura(1), Qt::RightButton, Qt::ShiftModifier, QPoint(4, 6));
    QTest::mouseMove(grid->imgFigura(1), QPoint(8, 6));
    EXPECT_EQ(moves, std::vector<int16_t>{1});
    EXPECT_EQ(button, 0);
    EXPECT_FLOAT_EQ(x, 120);
    // The click's Filename is the stored path itself.
    grid->ImageClick = [](int16_t&, QString& f) { f = "/elsewhere/b.jpg"; };
    grid->imgFigura_Click(1);
    EXPECT_EQ(grid->ItemData(1), "/elsewhere/b.jpg");
}

TEST_F(Grid, ClearAndForeColor) {
    const QString a = WritePicture(Folder(), "a.bmp", 40, 30, Qt::red);
    for (int i = 0; i < 3; ++i) grid->AddItem(a);
    grid->imgFigura_Click(2);
    grid->SetForeColor(0x0000FF);
    for (int16_t i = 0; i <= 3; ++i) EXPECT_EQ(grid->FrameColor(i), 0x0000FF) << i;
    EXPECT_EQ(grid->ItemIndex(), "2");
    grid->imgFigura_Click(3);
    EXPECT_EQ(grid->FrameColor(2), chooser::kFrameColor);
    // Changing the column rule leaves built cells where they are.
    const QRectF before = grid->FrameRect(3);
    grid->SetColumnType(1);
    grid->SetColumns(1);
    EXPECT_EQ(grid->FrameRect(3), before);
    grid->Clear();
    EXPECT_EQ(grid->ListCount(), 0);
    EXPECT_EQ(grid->ItemIndex(), "0");
    EXPECT_EQ(grid->CellCount(), 0);
    EXPECT_EQ(grid->Dims().size(), 4u);  // the size texts stay
    EXPECT_EQ(grid->scrThumbs()->maximum(), 200);
    EXPECT_EQ(grid->scrThumbs()->singleStep(), 160);
}

TEST_F(Grid, SevenItemsInThreeColumns) {
    // 16933 x 12700 hundredths of a millimetre is 640 x 480 pixels.
    const QString wide = WritePicture(Folder(), "wide.bmp", 640, 480, Qt::blue);
    for (int i = 0; i < 7; ++i) grid->AddItem(wide);
    const float lefts[] = {0, 1835, 3670, 0, 1835, 3670, 0};
    const float tops[] = {200, 200, 200, 1990, 1990, 1990, 3780};
    for (int16_t i = 1; i <= 7; ++i) {
        EXPECT_FLOAT_EQ(grid->FrameRect(i).left(), lefts[i - 1]) << i;
        EXPECT_FLOAT_EQ(grid->FrameRect(i).top(), tops[i - 1]) << i;
    }
    EXPECT_FLOAT_EQ(grid->InteriorSize().height(), 5630);
    EXPECT_FLOAT_EQ(grid->InteriorSize().width(), 7230);
    EXPECT_EQ(grid->scrThumbs()->maximum(), 5630 - 3400);
    EXPECT_EQ(grid->Dims()[1], "639 x 479");
    const QRectF thumb = grid->ThumbRect(1);
    EXPECT_FLOAT_EQ(thumb.width(), 1635);
    EXPECT_FLOAT_EQ(thumb.height(), 1226);
    EXPECT_FLOAT_EQ(thumb.left(), 45);
    EXPECT_FLOAT_EQ(thumb.top(), 200 + 227);
    // Decoded near the box size, not at full size.
    EXPECT_LE(grid->Thumbnail(1).width(), 110);
    // Scrolling moves the panel up by the bar's value.
    grid->scrThumbs()->setValue(900);
    EXPECT_FLOAT_EQ(grid->InteriorTop(), -900);
}

TEST_F(Grid, ToolTipsAndUnreadableFiles) {
    const QString pic = WritePicture(Folder(), "praia.bmp", 800, 600, Qt::yellow);
    const QString bad = QDir(Folder()).filePath("bad.jpg");
    WriteText(bad, QByteArray(1023, 'x'));
    grid->AddItem(pic);
    grid->AddItem(bad);
    const qint64 kb = QFileInfo(pic).size() / 1024;
    EXPECT_EQ(grid->CellToolTip(1), QString("praia.bmp (%1k) - 800 x 599").arg(kb));
    EXPECT_EQ(grid->imgFigura(1)->toolTip(), grid->CellToolTip(1));
    EXPECT_EQ(grid->CellToolTip(2), "bad.jpg (0k) - 0 x 0");
    // The unreadable file shows a placeholder, never the previous picture.
    EXPECT_FALSE(grid->IsPlaceholder(1));
    EXPECT_TRUE(grid->IsPlaceholder(2));
    EXPECT_TRUE(grid->Thumbnail(2).isNull());
    // So do files whose headers claim more than they hold, and a FIFO named
    // like a picture, without a decoder reading them.
    const QString fifo = QDir(Folder()).filePath("fifo.jpg");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString claiming[] = {
        damaged::Write(QDir(Folder()).filePath("text.jpg"), damaged::PngWithHugeTextChunk(false)),
        damaged::Write(QDir(Folder()).filePath("claims.jpg"), damaged::JpegClaiming(4000, 3000)),
        damaged::Write(QDir(Folder()).filePath("huge.jpg"), damaged::JpegClaiming(30000, 30000)),
        damaged::Write(QDir(Folder()).filePath("huge.gif"), damaged::GifClaiming(30000, 30000)),
        damaged::Write(QDir(Folder()).filePath("huge.bmp"), damaged::BmpClaiming(30000, 30000)),
        fifo,
    };
    for (const QString& path : claiming) {
        SCOPED_TRACE(path.toStdString());
        grid->AddItem(path);
        const int16_t i = grid->ListCount();
        EXPECT_TRUE(grid->CellToolTip(i).endsWith("k) - 0 x 0"));
        EXPECT_TRUE(grid->IsPlaceholder(i));
    }
    // A phone photograph stored on its side, tagged to be turned a quarter
    // clockwise: its size and thumbnail are upright, as a picture stored
    // upright shows them.
    QImage stored(400, 200, QImage::Format_RGB32);
    stored.fill(Qt::blue);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) stored.setPixel(x, y, qRgb(255, 0, 0));  // the top left quarter
    grid->AddItem(damaged::Write(QDir(Folder()).filePath("phone.jpg"),
                                 damaged::WithOrientation(damaged::Written(stored, "JPEG"), 6)));
    const int16_t phone = grid->ListCount();
    grid->AddItem(WritePicture(Folder(), "upright.jpg", 200, 400, Qt::blue));
    const QString size = grid->CellToolTip(phone).section(" - ", 1);
    EXPECT_EQ(size, grid->CellToolTip(phone + 1).section(" - ", 1));
    EXPECT_EQ(grid->ThumbRect(phone).size(), grid->ThumbRect(phone + 1).size());
    const QImage thumb = grid->Thumbnail(phone);
    ASSERT_GT(thumb.height(), thumb.width());
    EXPECT_GT(qRed(thumb.pixel(thumb.width() * 3 / 4, thumb.height() / 4)), 200);
    EXPECT_LT(qRed(thumb.pixel(thumb.width() / 4, thumb.height() / 4)), 60);
    grid->SetImageToolTip(false);
    EXPECT_EQ(grid->lblFigura(1)->toolTip(), "");
    QFile::remove(bad);  // gone since listed: counts as empty, no failure
    grid->SetImageToolTip(true);
    EXPECT_EQ(grid->CellToolTip(2), "bad.jpg (0k) - 0 x 0");
    EXPECT_EQ(grid->lblFigura(1)->toolTip(), grid->CellToolTip(1));
}

TEST_F(Grid, SavedProperties) {
    chooser::PropertyBag bag;
    grid->UserControl_WriteProperties(bag);
    EXPECT_EQ(bag.Values.keys(), QStringList{"BackColor"});
    EXPECT_EQ(grid->BackColor(), 0xFFFFFF);
    EXPECT_TRUE(grid->ImageToolTip());
    // A grid that never read saved properties writes its zero values.
    ThumbsCtl fresh(state, host);
    EXPECT_EQ(fresh.BackColor(), chooser::kGridDefaultBackColor);
    EXPECT_EQ(fresh.ForeColor(), chooser::kFrameColor);
    chooser::PropertyBag zero;
    fresh.UserControl_WriteProperties(zero);
    EXPECT_EQ(zero.Values.value("BackColor").toInt(), 0);
    EXPECT_EQ(zero.Values.value("ForeColor").toInt(), 0);
    EXPECT_FALSE(zero.Values.value("ImageToolTip").toBool());
    std::vector<QString> changed;
    fresh.PropertyChanged = [&](const QString& n) { changed.push_back(n); };
    fresh.SetPath("x");
    fresh.SetColumns(4);
    fresh.SetColumnType(1);
    EXPECT_EQ(changed, (std::vector<QString>{"Path", "ColumnType"}));
}

TEST_F(Grid, ScanAddsPictureFilesOnly) {
    WritePicture(Folder(), "A.BMP", 20, 20, Qt::red);
    WritePicture(Folder(), "b.Gif", 20, 20, Qt::green);
    WritePicture(Folder(), "c.jpg", 20, 20, Qt::blue);
    WritePicture(Folder(), "d.jpeg", 20, 20, Qt::blue);
    WritePicture(Folder(), "e.png", 20, 20, Qt::blue);
    WriteText(QDir(Folder()).filePath("f.txt"), "text");
    QDir(Folder()).mkdir("x.jpg");
    QString path = Folder();
    grid->ScanPath(path);
    EXPECT_EQ(path, Folder() + "/");
    std::set<QString> names;
    for (int16_t i = 1; i <= grid->ListCount(); ++i) names.insert(QFileInfo(grid->ItemData(i)).fileName());
    EXPECT_EQ(names, (std::set<QString>{"A.BMP", "b.Gif", "c.jpg"}));
    EXPECT_FALSE(grid->IsPlaceholder(2));
    EXPECT_GE(host.DoEventsCalls, 7);
    EXPECT_TRUE(label.isHidden());
}

TEST_F(Grid, BusyLabelAfterFourTenths) {
    for (int i = 0; i < 4; ++i) WritePicture(Folder(), QString("p%1.jpg").arg(i), 20, 20, Qt::red);
    bool shown = false;
    host.OnDoEvents = [&] {
        host.Time += 0.15;
        shown = shown || label.isVisibleTo(label.parentWidget() ? label.parentWidget() : &label) || !label.isHidden();
    };
    QString path = Folder();
    grid->ScanPath(path);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(label.isHidden());

    // A quick scan, an empty folder, a closed chooser and a missing folder
    // never show it and add nothing they should not.
    host.OnDoEvents = [&] {
        host.Time += 0.04;  // every picture is in within 0.4 s
        shown = shown || !label.isHidden();
    };
    shown = false;
    grid->Clear();
    grid->ScanPath(path);
    EXPECT_EQ(grid->ListCount(), 4);
    QTemporaryDir empty;
    host.OnDoEvents = [&] { shown = shown || !label.isHidden(); };
    QString emptyPath = empty.path();
    grid->Clear();
    grid->ScanPath(emptyPath);
    QString missing = Folder() + "/no/such/folder";
    grid->ScanPath(missing);
    state.ChooserOpen = false;
    grid->ScanPath(path);
    EXPECT_FALSE(shown);
    EXPECT_EQ(grid->ListCount(), 0);
}

TEST_F(Grid, ClosingTheChooserStopsTheScan) {
    for (int i = 0; i < 5; ++i) WritePicture(Folder(), QString("p%1.jpg").arg(i), 20, 20, Qt::red);
    host.OnDoEvents = [&] {
        if (grid->ListCount() == 2) state.ChooserOpen = false;
    };
    QString path = Folder();
    grid->ScanPath(path);
    EXPECT_EQ(grid->ListCount(), 2);

    // So does the program ending while the scan lets events run.
    grid->Clear();
    state.ChooserOpen = true;
    host.OnDoEvents = [&] {
        if (grid->ListCount() == 2) host.Quit();
    };
    grid->ScanPath(path);
    EXPECT_EQ(grid->ListCount(), 2);
}

TEST_F(Grid, AnotherFolderChosenDuringAScan) {
    QTemporaryDir other;
    for (int i = 0; i < 5; ++i) WritePicture(Folder(), QString("p%1.jpg").arg(i), 20, 20, Qt::red);
    for (int i = 0; i < 2; ++i) WritePicture(other.path(), QString("o%1.bmp").arg(i), 20, 20, Qt::blue);
    bool nested = false;
    host.OnDoEvents = [&] {
        if (nested || grid->ListCount() != 2) return;
        nested = true;
        grid->Clear();
        QString p = other.path();
        grid->ScanPath(p);
    };
    QString path = Folder();
    grid->ScanPath(path);
    ASSERT_EQ(grid->ListCount(), 2);
    for (int16_t i = 1; i <= 2; ++i) EXPECT_TRUE(grid->ItemData(i).startsWith(other.path())) << i;
    EXPECT_EQ(grid->CellCount(), 2);
}

TEST_F(Grid, GridDestroyedDuringAScan) {
    for (int i = 0; i < 4; ++i) WritePicture(Folder(), QString("p%1.jpg").arg(i), 20, 20, Qt::red);
    ThumbsCtl* raw = grid.get();
    host.OnDoEvents = [&] {
        if (grid && grid->ListCount() == 1) grid.reset();
    };
    QString path = Folder();
    raw->ScanPath(path);
    EXPECT_EQ(grid, nullptr);
}

}  // namespace
