// Region names in Thai, Devanagari, Arabic and CJK show as real glyphs in the window: in the
// lists and captions (Qt falls back to a font that has every character) and in the figure
// view (drawn by the figures library into the view's image).

#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>

#include "tests/workbench/window_fixture.hpp"
#include "workbench/scene_painter.hpp"
#include "workbench/window_fonts.hpp"

namespace {

const QStringList kNames{QStringLiteral("กรุงเทพมหานคร"), QStringLiteral("महाराष्ट्र"), QStringLiteral("القاهرة"),
                         QStringLiteral("東京都")};
const QString kNoCharacter = QStringLiteral("\u0378");  // no font has it

// The characters of `text` that no glyph run of its layout in `font` draws with a real glyph:
// each must be supported by the font Qt fell back to, and no glyph may be the missing one.
QString unsupported(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QString missing;
    const QList<QGlyphRun> runs = layout.glyphRuns();
    for (const QChar c : text) {
        if (c.isSpace() || c.isMark()) continue;  // marks may be merged into a cluster's glyph
        const bool drawn = std::any_of(runs.begin(), runs.end(),
                                       [&](const QGlyphRun& run) { return run.rawFont().supportsCharacter(c); });
        if (!drawn) missing += c;
    }
    for (const QGlyphRun& run : runs)
        for (const quint32 glyph : run.glyphIndexes())
            if (glyph == 0) missing += QStringLiteral("[glyph 0 in %1]").arg(run.rawFont().familyName());
    return missing;
}

// The pixels darker than mid-grey of a 40 px label of `text` on a `width` wide image.
QImage labelImage(const QString& text, double width) {
    el::figures::Scene scene;
    scene.width = width;
    scene.height = 80;
    scene.overlay.labels.push_back({{10, 55}, text.toStdString(), 40, el::figures::TextAnchor::Start, {0, 0, 0}});
    return el::workbench::sceneImage(scene, QSize(static_cast<int>(width), 80), QTransform());
}

int inkShared(const QImage& a, const QImage& b, int* either) {
    int both = 0;
    *either = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const bool inkA = qGray(a.pixel(x, y)) < 128, inkB = qGray(b.pixel(x, y)) < 128;
            both += inkA && inkB;
            *either += inkA || inkB;
        }
    return both;
}

}  // namespace

class WorldScriptsTest : public QObject {
    Q_OBJECT
private slots:
    void listsAndCaptionsFindAFontForEveryCharacter() {
        QVERIFY2(!unsupported(kNoCharacter, el::workbench::listFont()).isEmpty(), "a character no font has shows");
        for (const QFont& font : {el::workbench::listFont(), el::workbench::captionFont()})
            for (const QString& name : kNames) {
                const QString missing = unsupported(name, font);
                QVERIFY2(missing.isEmpty(), qPrintable(name + ": " + missing));
            }
    }

    void figureViewDrawsGlyphsNotBoxes() {
        for (const QString& name : kNames) {
            QString boxes;
            for (qsizetype i = 0; i < name.size(); ++i) boxes += kNoCharacter;
            const QImage drawn = labelImage(name, 400), boxed = labelImage(boxes, 400);
            int either = 0;
            const int both = inkShared(drawn, boxed, &either);
            QVERIFY2(either > 100, qPrintable(name));
            QVERIFY2(both < either / 2, qPrintable(name + ": its ink is that of missing-glyph boxes"));
        }
    }
};

EARLYLATE_OFFSCREEN_TEST_MAIN(WorldScriptsTest)
#include "world_scripts_test.moc"
