#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QImageReader>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <initializer_list>
#include <utility>

#include "SimpleGraph.h"
#include "TempFolder.h"

namespace {
const QRgb kBackground = qRgb(92, 92, 92);
const QRgb kGrid = qRgb(128, 128, 128);
const QRgb kTrace = qRgb(64, 255, 64);
const QRgb kMarker = qRgb(64, 255, 255);
const int kY100 = 200 - 100 * 200 / 255; // the row a value of 100 is drawn on

// Sets `graph` up as the pages do and appends `values`.
void Fill(CSimpleGraph& graph, bool gapMode, const std::vector<uint32_t>& values)
{
    graph.fullScale = 255;
    graph.gapMode = gapMode;
    graph.backgroundColour = QColor(kBackground);
    for (uint32_t value : values)
        graph.AddValue(value);
}

QImage Picture(bool gapMode, const std::vector<uint32_t>& values)
{
    CSimpleGraph graph;
    Fill(graph, gapMode, values);
    return graph.RenderSavedImage();
}

int CountPixels(const QImage& image, QRgb colour)
{
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits()); // RGB32: no row padding
    return static_cast<int>(std::count(pixels, pixels + image.width() * image.height(), colour));
}

int X(int index)
{
    return index * 400 / 120;
}

// 120 values of `fill`, but for the `changed` ones.
std::vector<uint32_t> Values(uint32_t fill, std::initializer_list<std::pair<int, uint32_t>> changed = {})
{
    std::vector<uint32_t> values(120, fill);
    for (const auto& [index, value] : changed)
        values[static_cast<size_t>(index)] = value;
    return values;
}

const std::vector<uint32_t> kMarked = Values(0, {{49, 100}, {50, CSimpleGraph::MarkerValue}, {51, 100}});
} // namespace

TEST(SimpleGraph, ZeroesMakeASawToothWithoutGapModeAndGapsWithIt)
{
    const QImage empty = Picture(true, {});
    EXPECT_EQ(empty.pixel(50, 5), kGrid);
    EXPECT_EQ(CountPixels(empty, kBackground) + CountPixels(empty, kGrid), 400 * 200);

    std::vector<uint32_t> alternating;
    for (int i = 0; i < 120; ++i)
        alternating.push_back(i % 2 == 0 ? 0 : 255);
    const QImage image = Picture(false, alternating);
    // Every segment runs between the bottom and the top edge.
    for (int i = 1; i < 120; ++i)
        EXPECT_GT(CountPixels(image.copy(X(i - 1), 100, X(i) - X(i - 1) + 1, 1), kTrace), 0) << i;
    EXPECT_EQ(image.pixel(X(1), 0), kTrace);
    EXPECT_EQ(CountPixels(Picture(true, alternating), kTrace), 0);

    // In gap mode a missing reading breaks the trace.
    const QImage gaps = Picture(true, Values(100, {{21, 0}}));
    EXPECT_EQ(gaps.pixel(X(15), kY100), kTrace);
    EXPECT_EQ(CountPixels(gaps.copy(X(20) + 1, 0, X(22) - X(20) - 1, 200), kTrace), 0);
}

TEST(SimpleGraph, MarkerDrawsACyanLineTheTraceBridgesItAndHighValuesAreClipped)
{
    const QImage image = Picture(true, kMarked);
    EXPECT_EQ(CountPixels(image.copy(X(50), 0, 1, 200), kMarker), 199); // all but where the bridge crosses
    // The bridge starts two 3-pixel steps left of index 51, across the marker.
    EXPECT_EQ(CountPixels(image.copy(X(51) - 6, kY100, 7, 1), kTrace), 7);

    EXPECT_EQ(CountPixels(Picture(false, Values(510)), kTrace), 0);
    // So large that a 32-bit product would wrap round to the bottom edge.
    EXPECT_EQ(CountPixels(Picture(false, Values(1u << 30)), kTrace), 0);
    // A rise out of the picture still draws up to the top edge.
    const QImage rise = Picture(false, Values(100, {{60, 510}}));
    EXPECT_GT(CountPixels(rise.copy(X(59), 0, X(60) - X(59) + 1, 1), kTrace), 0);
}

TEST(SimpleGraph, SavesA400By200PictureInTheFormatOfTheSuffixOrSaysWhyNot)
{
    CTempFolder folder;
    const auto path = [&folder](const char* name) {
        return QString::fromStdString((folder / name).string());
    };
    CSimpleGraph graph;
    Fill(graph, true, kMarked);
    graph.resize(275, 75); // the saved size is its own
    const std::pair<const char*, const char*> cases[] = {
        {"graph.png", "png"}, {"graph.JPeG", "jpeg"}, {"graph.unknownformat", "png"}};
    for (const auto& [name, format] : cases) {
        QString error;
        ASSERT_TRUE(graph.SaveGraph(path(name), &error)) << error.toStdString();
        QImageReader reader(path(name));
        reader.setDecideFormatFromContent(true);
        EXPECT_EQ(reader.format(), QByteArray(format)) << name;
        EXPECT_EQ(reader.read().size(), QSize(400, 200)) << name;
    }
    // PNG is lossless: the file holds exactly the rendering.
    EXPECT_EQ(QImage(path("graph.png")).convertToFormat(QImage::Format_RGB32), graph.RenderSavedImage());

    // Through the save dialog into a folder that is a file, where not even root can create a file.
    ASSERT_TRUE(WriteFileBytes(folder / "plain", ""));
    QString message;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            message = box->text();
            box->close();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            dialog->selectFile(path("plain/graph"));
            static_cast<QDialog*>(dialog)->accept();
        }
    });
    answer.start(5);
    graph.OnSaveGraph();
    EXPECT_TRUE(message.startsWith(
        QStringLiteral("The graph could not be saved to %1.png:\n").arg(path("plain/graph"))))
        << message.toStdString();
}
