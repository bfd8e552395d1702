#include "tools/Splash.h"

#include "tools/Icons.h"

#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace tools {

namespace {

const QRgb kKey = qRgb(255, 255, 0);
const QRectF kPanel(34, 26, 548, 172);

void DrawPanel(QPainter& p) {
    QLinearGradient blue(kPanel.topLeft(), kPanel.bottomLeft());
    blue.setColorAt(0.0, QColor(0x3D, 0x7E, 0xF0));
    blue.setColorAt(1.0, QColor(0x12, 0x34, 0x96));
    p.setPen(QPen(Qt::black, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(blue);
    p.drawRoundedRect(kPanel, 18, 18);
    // A thin light line inside the outline, like a bevel.
    p.setPen(QPen(QColor(0x9C, 0xC4, 0xFF), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(kPanel.adjusted(6, 6, -6, -6), 13, 13);
}

void DrawStar(QPainter& p, QPointF c, qreal r) {
    QPainterPath star;
    star.moveTo(c + QPointF(0, -r));
    star.quadTo(c, c + QPointF(r, 0));
    star.quadTo(c, c + QPointF(0, r));
    star.quadTo(c, c + QPointF(-r, 0));
    star.quadTo(c, c + QPointF(0, -r));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawPath(star);
}

// "Zelvano" in fat letters that bounce and tilt a little each, with a thick
// black outline and a dark shadow.
void DrawTitle(QPainter& p) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(84);
    font.setStretch(QFont::SemiExpanded);
    const QString title = QStringLiteral("Zelvano");
    const QFontMetricsF metrics(font);
    const qreal spacing = -2;
    qreal width = 0;
    for (QChar c : title) width += metrics.horizontalAdvance(c) + spacing;
    qreal x = kPanel.center().x() - width / 2 - 40;
    const qreal baseline = 144;
    const qreal tilt[] = {-8, 5, -4, 7, -6, 4, -5};
    const qreal bounce[] = {0, -7, 3, -5, 4, -6, 2};

    QPainterPath letters;
    for (int i = 0; i < title.size(); ++i) {
        QPainterPath glyph;
        glyph.addText(0, 0, font, QString(title[i]));
        const qreal advance = metrics.horizontalAdvance(title[i]);
        const QPointF centre(advance / 2, -metrics.capHeight() / 2);
        QTransform t;
        t.translate(x + centre.x(), baseline + bounce[i] + centre.y());
        t.rotate(tilt[i]);
        t.translate(-centre.x(), -centre.y());
        letters.addPath(t.map(glyph));
        x += advance + spacing;
    }
    letters = letters.simplified();

    const QPen outline(Qt::black, 11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x06, 0x12, 0x40), 11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(letters.translated(6, 6));
    p.setPen(outline);
    p.drawPath(letters);
    QLinearGradient fill(0, baseline - 70, 0, baseline + 6);
    fill.setColorAt(0.0, QColor(0xFF, 0xF0, 0x6A));
    fill.setColorAt(0.55, QColor(0xFF, 0xB8, 0x1C));
    fill.setColorAt(1.0, QColor(0xF0, 0x5A, 0x10));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(letters);
    // A white gleam on the upper part of every letter.
    p.save();
    p.setClipPath(letters);
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawRect(QRectF(0, baseline - 80, kSplashWidth, 28));
    p.restore();
}

void DrawPiece(QPainter& p, QPointF centre, qreal side, qreal angle, const QColor& light, const QColor& dark,
               PieceSides sides) {
    const QPainterPath body = JigsawPiecePath(QPointF(-side / 2, -side / 2), side, sides);
    QTransform t;
    t.translate(centre.x(), centre.y());
    t.rotate(angle);
    const QPainterPath piece = t.map(body);
    QLinearGradient fill(piece.boundingRect().topLeft(), piece.boundingRect().bottomRight());
    fill.setColorAt(0.0, light);
    fill.setColorAt(1.0, dark);
    p.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(piece);
    p.setPen(QPen(QColor(255, 255, 255, 150), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(t.map(QPointF(-side / 2 + 7, -side / 2 + 18)), t.map(QPointF(-side / 2 + 7, -side / 2 + 7)));
    p.drawLine(t.map(QPointF(-side / 2 + 7, -side / 2 + 7)), t.map(QPointF(-side / 2 + 18, -side / 2 + 7)));
}

}  // namespace

QImage DrawSplash() {
    // The artwork is drawn on transparency; only afterwards does the key
    // fill what the artwork does not cover.
    QImage art(kSplashWidth, kSplashHeight, QImage::Format_ARGB32);
    art.fill(Qt::transparent);
    {
        QPainter p(&art);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        DrawPanel(p);
        DrawStar(p, QPointF(150, 176), 7);
        DrawStar(p, QPointF(470, 52), 6);
        DrawStar(p, QPointF(530, 88), 4);
        DrawStar(p, QPointF(96, 70), 4);
        DrawTitle(p);
        DrawPiece(p, QPointF(52, 46), 56, -14, QColor(0xFF, 0x6A, 0x5A), QColor(0xB8, 0x14, 0x14), {1, 1, -1, -1});
        DrawPiece(p, QPointF(556, 172), 48, 11, QColor(0x7C, 0xE8, 0x6A), QColor(0x1E, 0x8A, 0x2A), {-1, 1, 1, -1});
    }

    QImage out(kSplashWidth, kSplashHeight, QImage::Format_RGB888);
    for (int y = 0; y < kSplashHeight; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(art.constScanLine(y));
        for (int x = 0; x < kSplashWidth; ++x) {
            const QRgb s = src[x];
            QRgb px;
            if (qAlpha(s) < 128) {
                px = kKey;
            } else {
                // Half-covered edge pixels keep the artwork's own colour at
                // full strength (the outline's black), never a mix with the
                // key; and no artwork pixel may turn out to be the key.
                px = qRgb(qRed(s), qGreen(s), qBlue(s));
                if (px == kKey) px = qRgb(255, 254, 0);
            }
            out.setPixel(x, y, px);
        }
    }
    return out;
}

bool WriteSplash(const QString& folder) {
    return DrawSplash().save(QDir(folder).filePath(QStringLiteral("splash.bmp")), "BMP");
}

}  // namespace tools
