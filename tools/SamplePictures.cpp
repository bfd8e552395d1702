#include "tools/SamplePictures.h"

#include <QDir>
#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <random>
#include <unordered_map>

namespace tools {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A small seeded random source, so every run draws the same pictures.
class Dice {
public:
    explicit Dice(unsigned seed) : m_Engine(seed) {}
    double Real(double lo, double hi) { return lo + (hi - lo) * (m_Engine() / 4294967296.0); }
    int Int(int lo, int hi) { return lo + static_cast<int>(m_Engine() % static_cast<unsigned>(hi - lo + 1)); }

private:
    std::mt19937 m_Engine;
};

QColor Hsv(int h, int s, int v) { return QColor::fromHsv(h % 360, s, v); }

void FillVertical(QPainter& p, const QRectF& r, std::initializer_list<std::pair<double, QColor>> stops) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    for (const auto& [at, c] : stops) g.setColorAt(at, c);
    p.fillRect(r, g);
}

void Cloud(QPainter& p, double x, double y, double s, QColor c) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(x, y), 60 * s, 28 * s);
    p.drawEllipse(QPointF(x - 45 * s, y + 8 * s), 40 * s, 22 * s);
    p.drawEllipse(QPointF(x + 50 * s, y + 6 * s), 45 * s, 24 * s);
    p.drawEllipse(QPointF(x + 10 * s, y - 20 * s), 38 * s, 26 * s);
}

void PalmTree(QPainter& p, QPointF base, double height, double lean, Dice& dice) {
    QPointF top = base + QPointF(lean, -height);
    // Trunk: rings of slightly varying brown along a gentle curve.
    const int rings = 18;
    for (int i = 0; i < rings; ++i) {
        const double t0 = double(i) / rings, t1 = double(i + 1) / rings;
        auto at = [&](double t) { return base + QPointF(lean * t * t, -height * t); };
        const double w0 = 16 - 8 * t0, w1 = 16 - 8 * t1;
        QPolygonF seg;
        seg << at(t0) + QPointF(-w0, 0) << at(t0) + QPointF(w0, 0) << at(t1) + QPointF(w1, 0) << at(t1) + QPointF(-w1, 0);
        p.setPen(QPen(QColor(60, 35, 20), 1.5));
        p.setBrush(i % 2 ? QColor(120, 80, 45) : QColor(100, 65, 35));
        p.drawPolygon(seg);
    }
    // Fronds: long curved leaves.
    for (int k = 0; k < 9; ++k) {
        const double a = -kPi / 2 + (k - 4) * 0.42 + dice.Real(-0.1, 0.1);
        const double len = height * dice.Real(0.45, 0.6);
        const QPointF tip = top + QPointF(std::cos(a) * len, std::sin(a) * len * 0.6 + len * 0.45);
        const QPointF mid = top + QPointF(std::cos(a) * len * 0.55, std::sin(a) * len * 0.55 - 20);
        QPainterPath leaf(top);
        leaf.quadTo(mid + QPointF(0, -18), tip);
        leaf.quadTo(mid + QPointF(0, 14), top);
        p.setPen(QPen(QColor(10, 60, 20), 2));
        p.setBrush(k % 2 ? QColor(30, 120, 45) : QColor(45, 150, 55));
        p.drawPath(leaf);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 55, 25));
    for (int c = 0; c < 3; ++c) p.drawEllipse(top + QPointF(-10 + c * 10, 8), 8, 8);
}

QImage SunsetBeach() {
    QImage img(1200, 800, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    Dice dice(11);
    FillVertical(p, QRectF(0, 0, 1200, 470),
                 {{0, QColor(40, 30, 90)}, {0.45, QColor(200, 70, 110)}, {0.8, QColor(250, 150, 60)}, {1, QColor(255, 210, 110)}});
    QRadialGradient glow(QPointF(760, 450), 260);
    glow.setColorAt(0, QColor(255, 240, 170, 230));
    glow.setColorAt(1, QColor(255, 200, 120, 0));
    p.fillRect(QRectF(0, 0, 1200, 470), glow);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 235, 150));
    p.drawEllipse(QPointF(760, 440), 85, 85);
    Cloud(p, 260, 150, 1.4, QColor(240, 140, 150, 170));
    Cloud(p, 980, 210, 1.1, QColor(250, 170, 140, 160));
    Cloud(p, 560, 90, 0.9, QColor(180, 100, 160, 150));
    // Sea with the sun's path on it.
    FillVertical(p, QRectF(0, 470, 1200, 190), {{0, QColor(230, 120, 90)}, {0.3, QColor(120, 60, 110)}, {1, QColor(30, 50, 110)}});
    for (int i = 0; i < 60; ++i) {
        const double y = 478 + i * 3.1;
        const double w = 40 + i * 3.5 * dice.Real(0.6, 1.2);
        p.setBrush(QColor(255, 220, 140, 200 - i * 3));
        p.drawRoundedRect(QRectF(760 - w / 2 + dice.Real(-20, 20), y, w, 2.2), 1, 1);
    }
    // Beach and foam.
    QPainterPath sand(QPointF(0, 640));
    sand.cubicTo(300, 610, 700, 680, 1200, 625);
    sand.lineTo(1200, 800);
    sand.lineTo(0, 800);
    QLinearGradient sg(0, 620, 0, 800);
    sg.setColorAt(0, QColor(235, 180, 120));
    sg.setColorAt(1, QColor(190, 120, 80));
    p.setBrush(sg);
    p.drawPath(sand);
    p.setPen(QPen(QColor(255, 245, 230, 200), 5));
    p.setBrush(Qt::NoBrush);
    QPainterPath foam(QPointF(0, 642));
    foam.cubicTo(300, 612, 700, 682, 1200, 627);
    p.drawPath(foam);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 300; ++i) {
        p.setBrush(QColor(150, 95, 60, 120));
        p.drawEllipse(QPointF(dice.Real(0, 1200), dice.Real(670, 800)), 2, 1.3);
    }
    // Shells and a starfish.
    p.setBrush(QColor(255, 140, 90));
    QPolygonF star;
    for (int k = 0; k < 10; ++k) {
        const double r = k % 2 ? 9 : 22, a = -kPi / 2 + k * kPi / 5;
        star << QPointF(420 + r * std::cos(a), 740 + r * std::sin(a));
    }
    p.drawPolygon(star);
    PalmTree(p, QPointF(140, 760), 420, 90, dice);
    PalmTree(p, QPointF(1060, 740), 360, -70, dice);
    PalmTree(p, QPointF(960, 700), 260, -30, dice);
    // Birds.
    p.setPen(QPen(QColor(40, 20, 50), 3));
    for (const QPointF b : {QPointF(420, 200), QPointF(470, 230), QPointF(520, 190), QPointF(880, 120)}) {
        QPainterPath bird(b);
        bird.quadTo(b + QPointF(12, -10), b + QPointF(22, 0));
        bird.quadTo(b + QPointF(32, -10), b + QPointF(44, 0));
        p.drawPath(bird);
    }
    return img;
}

void Balloon(QPainter& p, QPointF c, double r, std::vector<QColor> stripes) {
    QPainterPath env;
    env.moveTo(c + QPointF(0, r * 1.35));
    env.cubicTo(c + QPointF(-r * 1.5, r * 0.5), c + QPointF(-r * 1.2, -r * 1.2), c + QPointF(0, -r * 1.05));
    env.cubicTo(c + QPointF(r * 1.2, -r * 1.2), c + QPointF(r * 1.5, r * 0.5), c + QPointF(0, r * 1.35));
    p.save();
    p.setClipPath(env);
    const int n = static_cast<int>(stripes.size());
    for (int i = 0; i < n; ++i) {
        const double x0 = c.x() - r * 1.3 + i * (2.6 * r / n);
        p.fillRect(QRectF(x0, c.y() - r * 1.2, 2.6 * r / n + 1, r * 2.6), stripes[i]);
    }
    QRadialGradient shade(c + QPointF(-r * 0.4, -r * 0.5), r * 1.8);
    shade.setColorAt(0, QColor(255, 255, 255, 90));
    shade.setColorAt(0.5, QColor(255, 255, 255, 0));
    shade.setColorAt(1, QColor(0, 0, 0, 110));
    p.fillRect(QRectF(c.x() - 2 * r, c.y() - 2 * r, 4 * r, 4 * r), shade);
    p.restore();
    p.setPen(QPen(QColor(60, 40, 30), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(env);
    const QPointF bottom = c + QPointF(0, r * 1.35);
    const QRectF basket(bottom.x() - r * 0.18, bottom.y() + r * 0.3, r * 0.36, r * 0.25);
    p.drawLine(bottom + QPointF(-r * 0.12, -2), basket.topLeft());
    p.drawLine(bottom + QPointF(r * 0.12, -2), basket.topRight());
    p.setBrush(QColor(140, 90, 40));
    p.drawRect(basket);
}

QImage Balloons() {
    QImage img(800, 1100, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    FillVertical(p, QRectF(0, 0, 800, 1100), {{0, QColor(40, 110, 200)}, {0.6, QColor(130, 190, 240)}, {1, QColor(230, 240, 250)}});
    Cloud(p, 150, 220, 1.6, QColor(255, 255, 255, 200));
    Cloud(p, 620, 420, 1.3, QColor(255, 255, 255, 190));
    Cloud(p, 350, 700, 1.1, QColor(255, 255, 255, 170));
    // Hills and fields far below.
    p.setPen(Qt::NoPen);
    const QColor hills[] = {QColor(120, 170, 110), QColor(80, 150, 80), QColor(50, 120, 60)};
    for (int k = 0; k < 3; ++k) {
        QPainterPath h(QPointF(0, 930 + k * 45));
        h.cubicTo(250, 880 + k * 50, 550, 990 + k * 40, 800, 910 + k * 50);
        h.lineTo(800, 1100);
        h.lineTo(0, 1100);
        p.setBrush(hills[k]);
        p.drawPath(h);
    }
    p.setBrush(QColor(230, 200, 80));
    p.drawRect(QRectF(480, 1040, 140, 30));
    p.setBrush(QColor(200, 90, 60));
    p.drawRect(QRectF(120, 1050, 90, 40));
    Balloon(p, QPointF(560, 300), 130, {QColor(230, 40, 50), QColor(250, 200, 30), QColor(230, 40, 50), QColor(250, 200, 30), QColor(230, 40, 50), QColor(250, 200, 30)});
    Balloon(p, QPointF(230, 520), 105, {QColor(40, 80, 200), QColor(255, 255, 255), QColor(40, 160, 90), QColor(255, 255, 255), QColor(40, 80, 200)});
    Balloon(p, QPointF(640, 710), 70, {QColor(150, 50, 170), QColor(255, 130, 30), QColor(150, 50, 170), QColor(255, 130, 30)});
    Balloon(p, QPointF(120, 150), 50, {QColor(20, 170, 180), QColor(255, 90, 140), QColor(20, 170, 180), QColor(255, 90, 140)});
    Balloon(p, QPointF(420, 860), 40, {QColor(250, 220, 0), QColor(0, 120, 60), QColor(250, 220, 0)});
    Balloon(p, QPointF(330, 140), 34, {QColor(255, 100, 0), QColor(255, 255, 255), QColor(255, 100, 0)});
    return img;
}

QImage MountainLake() {
    QImage img(1200, 760, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    Dice dice(23);
    QImage scene(1200, 440, QImage::Format_RGB32);
    {
        QPainter s(&scene);
        s.setRenderHint(QPainter::Antialiasing);
        FillVertical(s, QRectF(0, 0, 1200, 440), {{0, QColor(70, 130, 210)}, {1, QColor(200, 225, 245)}});
        Cloud(s, 900, 90, 1.2, QColor(255, 255, 255, 210));
        s.setPen(Qt::NoPen);
        struct Peak { double x, y, w; QColor c; };
        const Peak peaks[] = {{250, 110, 330, QColor(110, 120, 150)}, {620, 60, 380, QColor(90, 100, 135)},
                              {980, 130, 320, QColor(105, 115, 145)}, {430, 190, 300, QColor(75, 90, 110)},
                              {830, 200, 300, QColor(70, 85, 105)}};
        for (const Peak& k : peaks) {
            QPolygonF m;
            m << QPointF(k.x - k.w, 440) << QPointF(k.x - k.w * 0.3, k.y + 90) << QPointF(k.x, k.y)
              << QPointF(k.x + k.w * 0.35, k.y + 110) << QPointF(k.x + k.w, 440);
            s.setBrush(k.c);
            s.drawPolygon(m);
            QPolygonF snow;
            snow << QPointF(k.x - k.w * 0.3 * 0.45, k.y + 40) << QPointF(k.x, k.y) << QPointF(k.x + k.w * 0.35 * 0.45, k.y + 50)
                 << QPointF(k.x + 15, k.y + 35) << QPointF(k.x - 10, k.y + 55);
            s.setBrush(QColor(245, 248, 255));
            s.drawPolygon(snow);
        }
        // Pine forest on the shore.
        for (int i = 0; i < 140; ++i) {
            const double x = dice.Real(-20, 1220), h = dice.Real(50, 120), base = 440 - dice.Real(0, 30);
            QPolygonF tree;
            tree << QPointF(x, base - h) << QPointF(x - h * 0.25, base) << QPointF(x + h * 0.25, base);
            s.setBrush(QColor(20 + dice.Int(0, 30), 70 + dice.Int(0, 50), 40 + dice.Int(0, 20)));
            s.drawPolygon(tree);
        }
        // A red cabin.
        s.setBrush(QColor(170, 40, 30));
        s.drawRect(QRectF(300, 395, 70, 40));
        s.setBrush(QColor(60, 40, 30));
        QPolygonF roof;
        roof << QPointF(292, 397) << QPointF(335, 370) << QPointF(378, 397);
        s.drawPolygon(roof);
        s.setBrush(QColor(250, 220, 120));
        s.drawRect(QRectF(345, 405, 12, 12));
    }
    p.drawImage(0, 0, scene);
    // The lake mirrors the scene, darker and rippled.
    QImage mirror = scene.mirrored(false, true);
    p.drawImage(0, 440, mirror.copy(0, 0, 1200, 320));
    p.fillRect(QRectF(0, 440, 1200, 320), QColor(20, 50, 90, 110));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 260; ++i) {
        p.setBrush(QColor(230, 240, 255, dice.Int(40, 110)));
        const double y = dice.Real(445, 760);
        p.drawRect(QRectF(dice.Real(0, 1200), y, dice.Real(20, 90) * (y - 420) / 200, 1.6));
    }
    // A small boat.
    QPainterPath hull(QPointF(760, 600));
    hull.lineTo(880, 600);
    hull.lineTo(860, 625);
    hull.lineTo(780, 625);
    hull.closeSubpath();
    p.setBrush(QColor(230, 200, 60));
    p.drawPath(hull);
    p.setPen(QPen(QColor(60, 40, 30), 3));
    p.drawLine(QPointF(820, 600), QPointF(820, 520));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 250, 250));
    QPolygonF sail;
    sail << QPointF(823, 522) << QPointF(823, 595) << QPointF(870, 595);
    p.drawPolygon(sail);
    return img;
}

void Flower(QPainter& p, QPointF c, double r, QColor petal, QColor centre, int petals) {
    p.setPen(Qt::NoPen);
    p.setBrush(petal);
    for (int k = 0; k < petals; ++k) {
        const double a = k * 2 * kPi / petals;
        p.save();
        p.translate(c);
        p.rotate(a * 180 / kPi);
        p.drawEllipse(QPointF(r * 0.6, 0), r * 0.6, r * 0.28);
        p.restore();
    }
    p.setBrush(centre);
    p.drawEllipse(c, r * 0.3, r * 0.3);
}

QImage FlowerField() {
    QImage img(1000, 1000, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    Dice dice(37);
    FillVertical(p, QRectF(0, 0, 1000, 420), {{0, QColor(90, 160, 230)}, {1, QColor(220, 235, 250)}});
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 230, 120));
    p.drawEllipse(QPointF(820, 130), 60, 60);
    Cloud(p, 250, 120, 1.2, QColor(255, 255, 255, 220));
    Cloud(p, 560, 220, 0.8, QColor(255, 255, 255, 200));
    p.setBrush(QColor(120, 170, 100));
    QPainterPath hill(QPointF(0, 420));
    hill.cubicTo(300, 330, 600, 440, 1000, 360);
    hill.lineTo(1000, 1000);
    hill.lineTo(0, 1000);
    p.drawPath(hill);
    // A lone tree on the hill.
    p.setBrush(QColor(90, 60, 35));
    p.drawRect(QRectF(640, 300, 16, 90));
    for (const QPointF c : {QPointF(648, 290), QPointF(620, 310), QPointF(678, 312), QPointF(648, 265)}) {
        p.setBrush(QColor(40, 110, 50));
        p.drawEllipse(c, 38, 32);
    }
    FillVertical(p, QRectF(0, 440, 1000, 560), {{0, QColor(90, 150, 60)}, {1, QColor(40, 100, 30)}});
    // Bands of colour, flowers growing larger towards the front.
    const QColor petals[] = {QColor(230, 40, 60), QColor(250, 200, 30), QColor(150, 70, 200), QColor(255, 255, 255),
                             QColor(255, 120, 170), QColor(255, 140, 20)};
    for (int row = 0; row < 28; ++row) {
        const double t = row / 27.0;
        const double y = 450 + 550 * t * t;
        const double r = 3 + 34 * t * t;
        const int count = static_cast<int>(1000 / (r * 1.6)) + 4;
        for (int i = 0; i < count; ++i) {
            const double x = dice.Real(-20, 1020);
            const int band = static_cast<int>((x + 200 * std::sin(y / 120.0)) / 220.0 + 10) % 6;
            const QColor pc = petals[dice.Int(0, 9) < 7 ? band : dice.Int(0, 5)];
            if (r > 10) {
                p.setPen(QPen(QColor(30, 90, 30), std::max(1.0, r / 10)));
                p.drawLine(QPointF(x, y), QPointF(x + dice.Real(-4, 4), y + r * 2.5));
            }
            Flower(p, QPointF(x, y + dice.Real(-r, r)), r, pc, QColor(250, 210, 60).darker(100 + dice.Int(0, 40)), dice.Int(5, 8));
        }
    }
    // Butterflies.
    for (const QPointF b : {QPointF(300, 560), QPointF(720, 640)}) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 120, 230));
        p.drawEllipse(b + QPointF(-14, -8), 14, 11);
        p.drawEllipse(b + QPointF(14, -8), 14, 11);
        p.setBrush(QColor(250, 160, 40));
        p.drawEllipse(b + QPointF(-10, 8), 9, 8);
        p.drawEllipse(b + QPointF(10, 8), 9, 8);
        p.setBrush(QColor(30, 30, 30));
        p.drawEllipse(b, 3, 12);
    }
    return img;
}

QImage Lighthouse() {
    QImage img(800, 1000, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    Dice dice(41);
    // Sky in flat bands: the picture is stored with 256 colours.
    const QColor sky[] = {QColor(40, 70, 140), QColor(60, 100, 170), QColor(90, 135, 195), QColor(130, 170, 215),
                          QColor(175, 200, 230), QColor(230, 200, 170)};
    for (int i = 0; i < 6; ++i) p.fillRect(QRectF(0, i * 95, 800, 96), sky[i]);
    p.setPen(Qt::NoPen);
    Cloud(p, 560, 160, 1.3, QColor(240, 240, 250));
    Cloud(p, 200, 300, 0.9, QColor(225, 230, 245));
    // Sea.
    const QColor sea[] = {QColor(30, 90, 150), QColor(25, 80, 135), QColor(20, 70, 120), QColor(15, 60, 105)};
    for (int i = 0; i < 4; ++i) p.fillRect(QRectF(0, 570 + i * 110, 800, 111), sea[i]);
    p.setPen(QPen(QColor(200, 230, 250), 3));
    for (int i = 0; i < 70; ++i) {
        const double x = dice.Real(0, 800), y = dice.Real(585, 1000), w = 10 + (y - 570) / 12;
        QPainterPath wave(QPointF(x, y));
        wave.quadTo(x + w / 2, y - 6, x + w, y);
        p.drawPath(wave);
    }
    // Cliff with a grass top.
    p.setPen(QPen(QColor(70, 45, 30), 2));
    p.setBrush(QColor(130, 90, 60));
    QPolygonF cliff;
    cliff << QPointF(230, 520) << QPointF(800, 500) << QPointF(800, 1000) << QPointF(330, 1000) << QPointF(300, 860)
          << QPointF(250, 800) << QPointF(260, 700) << QPointF(215, 610);
    p.drawPolygon(cliff);
    p.setBrush(QColor(100, 65, 45));
    for (int i = 0; i < 9; ++i) {
        QPolygonF rock;
        const double x = 340 + i * 50, y = 600 + (i % 3) * 110;
        rock << QPointF(x, y) << QPointF(x + 40, y + 25) << QPointF(x + 20, y + 70) << QPointF(x - 15, y + 40);
        p.drawPolygon(rock);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(80, 160, 60));
    QPainterPath grass(QPointF(215, 525));
    grass.cubicTo(400, 480, 600, 510, 800, 485);
    grass.lineTo(800, 520);
    grass.cubicTo(600, 545, 400, 520, 225, 560);
    p.drawPath(grass);
    // Lighthouse: red and white rings.
    const double base = 520, top = 190;
    for (int i = 0; i < 6; ++i) {
        const double y0 = top + (base - top) * i / 6, y1 = top + (base - top) * (i + 1) / 6;
        const double w0 = 40 + 20 * i / 6.0, w1 = 40 + 20 * (i + 1) / 6.0;
        QPolygonF ring;
        ring << QPointF(560 - w0, y0) << QPointF(560 + w0, y0) << QPointF(560 + w1, y1) << QPointF(560 - w1, y1);
        p.setBrush(i % 2 ? QColor(245, 245, 240) : QColor(210, 40, 40));
        p.drawPolygon(ring);
    }
    p.setBrush(QColor(40, 40, 45));
    p.drawRect(QRectF(505, 175, 110, 16));
    p.setBrush(QColor(255, 235, 120));
    p.drawRect(QRectF(525, 120, 70, 55));
    p.setBrush(QColor(40, 40, 45));
    p.drawRect(QRectF(522, 120, 6, 55));
    p.drawRect(QRectF(592, 120, 6, 55));
    QPolygonF cap;
    cap << QPointF(515, 122) << QPointF(560, 80) << QPointF(605, 122);
    p.setBrush(QColor(200, 35, 35));
    p.drawPolygon(cap);
    p.setBrush(QColor(255, 245, 190));
    QPolygonF beam;
    beam << QPointF(525, 140) << QPointF(0, 60) << QPointF(0, 200);
    p.drawPolygon(beam);
    // Keeper's house.
    p.setBrush(QColor(240, 235, 220));
    p.drawRect(QRectF(640, 450, 110, 60));
    p.setBrush(QColor(60, 90, 150));
    QPolygonF roof;
    roof << QPointF(630, 452) << QPointF(695, 410) << QPointF(760, 452);
    p.drawPolygon(roof);
    p.setBrush(QColor(120, 70, 40));
    p.drawRect(QRectF(690, 475, 18, 35));
    // Gulls.
    p.setPen(QPen(QColor(250, 250, 250), 3));
    for (const QPointF b : {QPointF(300, 380), QPointF(360, 350), QPointF(150, 450)}) {
        QPainterPath gull(b);
        gull.quadTo(b + QPointF(10, -10), b + QPointF(20, 0));
        gull.quadTo(b + QPointF(30, -10), b + QPointF(40, 0));
        p.drawPath(gull);
    }
    return img;
}

QImage ColourfulCity() {
    QImage img(1100, 800, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    Dice dice(53);
    p.fillRect(QRectF(0, 0, 1100, 260), QColor(110, 180, 235));
    p.fillRect(QRectF(0, 260, 1100, 120), QColor(150, 200, 240));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 80));
    p.drawEllipse(QPointF(150, 110), 55, 55);
    Cloud(p, 700, 100, 1.2, QColor(255, 255, 255));
    Cloud(p, 420, 180, 0.7, QColor(245, 250, 255));
    // Green hills with a church behind the houses.
    p.setBrush(QColor(100, 170, 90));
    QPainterPath hill(QPointF(0, 380));
    hill.cubicTo(300, 260, 700, 320, 1100, 250);
    hill.lineTo(1100, 500);
    hill.lineTo(0, 500);
    p.drawPath(hill);
    p.setBrush(QColor(245, 240, 225));
    p.drawRect(QRectF(820, 170, 50, 140));
    p.setBrush(QColor(180, 60, 40));
    QPolygonF spire;
    spire << QPointF(815, 172) << QPointF(845, 100) << QPointF(875, 172);
    p.drawPolygon(spire);
    // Row of houses, each its own colour.
    const QColor walls[] = {QColor(230, 70, 60), QColor(250, 190, 40), QColor(60, 150, 210), QColor(90, 190, 120),
                            QColor(240, 130, 180), QColor(250, 140, 40), QColor(140, 90, 200), QColor(40, 180, 180),
                            QColor(245, 230, 120)};
    double x = -10;
    int k = 0;
    while (x < 1100) {
        const double w = dice.Real(95, 140), h = dice.Real(230, 340), base = 660;
        const QColor wall = walls[k % 9];
        p.setBrush(wall);
        p.setPen(QPen(wall.darker(150), 2));
        p.drawRect(QRectF(x, base - h, w, h));
        p.setBrush(QColor(150, 60, 40).darker(100 + (k % 3) * 15));
        QPolygonF roof;
        if (k % 2) {
            roof << QPointF(x - 6, base - h) << QPointF(x + w / 2, base - h - 55) << QPointF(x + w + 6, base - h);
        } else {
            roof << QPointF(x - 4, base - h) << QPointF(x + w * 0.2, base - h - 35) << QPointF(x + w * 0.8, base - h - 35)
                 << QPointF(x + w + 4, base - h);
        }
        p.drawPolygon(roof);
        // Windows with shutters, a door.
        p.setPen(QPen(QColor(60, 50, 50), 1.5));
        const int rows = static_cast<int>((h - 90) / 70);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < 2; ++c) {
                const QRectF win(x + 18 + c * (w - 60), base - h + 25 + r * 70, 24, 36);
                p.setBrush(dice.Int(0, 3) ? QColor(200, 230, 250) : QColor(255, 230, 150));
                p.drawRect(win);
                p.setBrush(walls[(k + 4) % 9].darker(120));
                p.drawRect(QRectF(win.left() - 9, win.top(), 8, 36));
                p.drawRect(QRectF(win.right() + 1, win.top(), 8, 36));
            }
        p.setBrush(QColor(110, 60, 35));
        p.drawRoundedRect(QRectF(x + w / 2 - 14, base - 62, 28, 62), 12, 12);
        // Flower box.
        p.setPen(Qt::NoPen);
        for (int f = 0; f < 5; ++f) {
            p.setBrush(f % 2 ? QColor(230, 30, 60) : QColor(255, 255, 255));
            p.drawEllipse(QPointF(x + 20 + f * 5, base - h + 22 + 36 + 6), 3, 3);
        }
        x += w;
        ++k;
    }
    // Cobbled street.
    p.fillRect(QRectF(0, 660, 1100, 140), QColor(150, 140, 130));
    p.setPen(QPen(QColor(110, 100, 95), 2));
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 40; ++c) {
            p.setBrush(QColor(170 + dice.Int(-15, 15), 160 + dice.Int(-15, 15), 150 + dice.Int(-15, 15)));
            p.drawRoundedRect(QRectF(c * 30 - (r % 2) * 15, 665 + r * 20, 28, 18), 5, 5);
        }
    return img;
}

QImage StainedGlass() {
    QImage img(800, 800, QImage::Format_RGB32);
    img.fill(QColor(25, 20, 30));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(400, 400);
    const QColor glass[] = {QColor(200, 30, 40), QColor(30, 70, 190), QColor(250, 190, 20), QColor(30, 150, 80),
                            QColor(140, 40, 160), QColor(240, 110, 20), QColor(40, 170, 200), QColor(220, 60, 130)};
    const QPen lead(QColor(20, 20, 25), 6);
    // Corners: diagonal panes.
    for (int q = 0; q < 4; ++q) {
        const double sx = q % 2 ? 800 : 0, sy = q / 2 ? 800 : 0;
        for (int i = 0; i < 4; ++i) {
            QPolygonF pane;
            const double d0 = i * 60, d1 = (i + 1) * 60;
            const double dx = q % 2 ? -1 : 1, dy = q / 2 ? -1 : 1;
            pane << QPointF(sx + dx * d0, sy) << QPointF(sx + dx * d1, sy) << QPointF(sx, sy + dy * d1) << QPointF(sx, sy + dy * d0);
            p.setPen(lead);
            p.setBrush(glass[(q * 2 + i) % 8].lighter(100 + i * 10));
            p.drawPolygon(pane);
        }
    }
    // Rings of segments, shifted every ring.
    const int rings = 6;
    for (int r = rings; r >= 1; --r) {
        const double outer = 60.0 * r + 20;
        const int segs = 6 + 4 * r;
        for (int s = 0; s < segs; ++s) {
            const double a0 = 360.0 * s / segs + r * 11, span = 360.0 / segs;
            QPainterPath seg;
            seg.moveTo(c);
            seg.arcTo(QRectF(c.x() - outer, c.y() - outer, 2 * outer, 2 * outer), a0, span);
            seg.closeSubpath();
            QRadialGradient g(c, outer);
            const QColor base = glass[(s + r * 3) % 8];
            g.setColorAt(0, base.lighter(150));
            g.setColorAt(1, base);
            p.setPen(lead);
            p.setBrush(g);
            p.drawPath(seg);
        }
    }
    // Petals of the central rose.
    for (int k = 0; k < 8; ++k) {
        p.save();
        p.translate(c);
        p.rotate(k * 45);
        p.setPen(lead);
        p.setBrush(glass[(k + 2) % 8].lighter(130));
        p.drawEllipse(QPointF(0, -55), 22, 45);
        p.restore();
    }
    p.setPen(lead);
    p.setBrush(QColor(255, 220, 60));
    p.drawEllipse(c, 28, 28);
    // The frame of the window.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(20, 20, 25), 14));
    p.drawEllipse(c, 6 * 60.0 + 20, 6 * 60.0 + 20);
    p.drawRect(QRectF(7, 7, 786, 786));
    return img;
}

// GIF: 8-bit LZW with a global 256-colour table.
class BitWriter {
public:
    void Put(int code, int bits) {
        m_Acc |= static_cast<uint32_t>(code) << m_Bits;
        m_Bits += bits;
        while (m_Bits >= 8) {
            m_Bytes.push_back(static_cast<char>(m_Acc & 0xFF));
            m_Acc >>= 8;
            m_Bits -= 8;
        }
    }
    QByteArray Finish() {
        if (m_Bits > 0) m_Bytes.push_back(static_cast<char>(m_Acc & 0xFF));
        return m_Bytes;
    }

private:
    QByteArray m_Bytes;
    uint32_t m_Acc = 0;
    int m_Bits = 0;
};

QByteArray Lzw(const QImage& indexed) {
    const int clear = 256, end = 257;
    BitWriter out;
    std::unordered_map<uint32_t, int> dict;
    int next = 258, size = 9;
    out.Put(clear, size);
    int prefix = -1;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar* row = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            const int px = row[x];
            if (prefix < 0) {
                prefix = px;
                continue;
            }
            const uint32_t key = (static_cast<uint32_t>(prefix) << 8) | static_cast<uint32_t>(px);
            const auto it = dict.find(key);
            if (it != dict.end()) {
                prefix = it->second;
                continue;
            }
            out.Put(prefix, size);
            if (next < 4096) {
                dict.emplace(key, next++);
                // The reader widens its codes one entry later than we add.
                if (next == (1 << size) + 1 && size < 12) ++size;
            } else {
                out.Put(clear, size);
                dict.clear();
                next = 258;
                size = 9;
            }
            prefix = px;
        }
    }
    if (prefix >= 0) out.Put(prefix, size);
    out.Put(end, size);
    return out.Finish();
}

void Le16(QByteArray& b, int v) {
    b.push_back(static_cast<char>(v & 0xFF));
    b.push_back(static_cast<char>((v >> 8) & 0xFF));
}

}  // namespace

std::vector<SamplePicture> SamplePictures() {
    return {
        {QStringLiteral("praia_ao_por_do_sol.jpg"), SunsetBeach()},
        {QStringLiteral("baloes.jpg"), Balloons()},
        {QStringLiteral("lago_na_montanha.jpg"), MountainLake()},
        {QStringLiteral("campo_de_flores.jpg"), FlowerField()},
        {QStringLiteral("farol.gif"), Lighthouse()},
        {QStringLiteral("cidade_colorida.gif"), ColourfulCity()},
        {QStringLiteral("vitral.bmp"), StainedGlass()},
    };
}

bool WriteGif(const QImage& image, const QString& path) {
    if (image.isNull()) return false;
    QImage indexed = image.format() == QImage::Format_Indexed8
                         ? image
                         : image.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither | Qt::PreferDither);
    QByteArray gif("GIF89a");
    Le16(gif, indexed.width());
    Le16(gif, indexed.height());
    gif.push_back(static_cast<char>(0xF7));  // global table of 256 entries
    gif.push_back('\0');
    gif.push_back('\0');
    const QList<QRgb> table = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < table.size() ? table[i] : 0;
        gif.push_back(static_cast<char>(qRed(c)));
        gif.push_back(static_cast<char>(qGreen(c)));
        gif.push_back(static_cast<char>(qBlue(c)));
    }
    gif.push_back(',');
    Le16(gif, 0);
    Le16(gif, 0);
    Le16(gif, indexed.width());
    Le16(gif, indexed.height());
    gif.push_back('\0');
    gif.push_back('\x08');
    const QByteArray data = Lzw(indexed);
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const qsizetype n = std::min<qsizetype>(255, data.size() - at);
        gif.push_back(static_cast<char>(n));
        gif.append(data.mid(at, n));
    }
    gif.push_back('\0');
    gif.push_back(';');
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    return file.write(gif) == gif.size();
}

bool WriteSample(const SamplePicture& sample, const QString& folder) {
    const QString path = QDir(folder).filePath(sample.FileName);
    if (sample.FileName.endsWith(QLatin1String(".gif"))) return WriteGif(sample.Picture, path);
    if (sample.FileName.endsWith(QLatin1String(".bmp")))
        return sample.Picture.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither).save(path, "BMP");
    return sample.Picture.save(path, "JPEG", 88);
}

}  // namespace tools
