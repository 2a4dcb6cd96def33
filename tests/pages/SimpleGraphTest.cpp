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

// A graph as the pages set it up, holding `values`.
struct PageGraph {
    explicit PageGraph(bool gapMode, const std::vector<uint32_t>& values = {})
    {
        graph.fullScale = 255;
        graph.gapMode = gapMode;
        graph.backgroundColour = QColor(92, 92, 92);
        for (uint32_t value : values)
            graph.AddValue(value);
    }
    QImage Picture() const { return graph.RenderSavedImage(); }
    CSimpleGraph graph;
};

int CountPixels(const QImage& image, QRgb colour, int fromX = 0, int toX = -1)
{
    if (toX < 0)
        toX = image.width() - 1;
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = fromX; x <= toX; ++x)
            count += image.pixel(x, y) == colour ? 1 : 0;
    return count;
}

int X(int index)
{
    return index * 400 / 120;
}

// 120 values of `fill`, but for the `changed` ones.
std::vector<uint32_t> Values(uint32_t fill, std::initializer_list<std::pair<int, uint32_t>> changed)
{
    std::vector<uint32_t> values(120, fill);
    for (const auto& [index, value] : changed)
        values[static_cast<size_t>(index)] = value;
    return values;
}

const std::vector<uint32_t> kMarked = Values(0, {{49, 100}, {50, CSimpleGraph::MarkerValue}, {51, 100}});
} // namespace

TEST(SimpleGraph, NewGraphShowsBackgroundAndGridOnlyInsideItsBorder)
{
    PageGraph page(true);
    const QImage image = page.Picture();
    EXPECT_EQ(image.pixel(50, 5), kGrid); // eight columns
    EXPECT_EQ(image.pixel(5, 20), kGrid); // ten rows
    EXPECT_EQ(image.pixel(25, 10), kBackground);
    EXPECT_EQ(CountPixels(image, kBackground) + CountPixels(image, kGrid), 400 * 200);

    page.graph.resize(275, 75);
    page.graph.show();
    const QImage shown = page.graph.grab().toImage();
    // The grid of the 273 x 73 inside: first column line at 273 / 8 = 34.
    EXPECT_EQ(shown.pixel(1 + 34, 3), kGrid);
    EXPECT_EQ(shown.pixel(1 + 33, 3), kBackground);
}

TEST(SimpleGraph, ZeroesMakeASawToothWithoutGapModeAndGapsWithIt)
{
    std::vector<uint32_t> alternating;
    for (int i = 0; i < 120; ++i)
        alternating.push_back(i % 2 == 0 ? 0 : 255);

    const QImage image = PageGraph(false, alternating).Picture();
    // Every segment runs between the bottom and the top edge.
    for (int i = 1; i < 120; ++i)
        EXPECT_GT(CountPixels(image.copy(0, 100, 400, 1), kTrace, X(i - 1), X(i)), 0) << i;
    EXPECT_EQ(image.pixel(X(1), 0), kTrace);
    EXPECT_EQ(CountPixels(PageGraph(true, alternating).Picture(), kTrace), 0);

    // In gap mode a missing reading breaks the trace.
    std::vector<uint32_t> values(120, 0);
    std::fill(values.begin() + 10, values.begin() + 31, 100);
    values[21] = 0;
    const QImage gaps = PageGraph(true, values).Picture();
    const int y = 200 - 100 * 200 / 255;
    EXPECT_EQ(gaps.pixel(X(15), y), kTrace);
    EXPECT_EQ(gaps.pixel(X(25), y), kTrace);
    EXPECT_EQ(CountPixels(gaps, kTrace, X(20) + 1, X(22) - 1), 0);
    // Nothing left of the first reading or right of the last.
    EXPECT_EQ(CountPixels(gaps, kTrace, 0, X(10) - 1), 0);
    EXPECT_EQ(CountPixels(gaps, kTrace, X(30) + 1), 0);
}

TEST(SimpleGraph, MarkerDrawsACyanLineTheTraceBridgesItAndHighValuesAreClipped)
{
    const QImage image = PageGraph(true, kMarked).Picture();
    const int y = 200 - 100 * 200 / 255;
    for (int row : {0, 10, 100, 199})
        EXPECT_EQ(image.pixel(X(50), row), kMarker) << row;
    // The bridge starts two 3-pixel steps left of index 51, across the marker.
    for (int x = X(51) - 6; x <= X(51); ++x)
        EXPECT_EQ(image.pixel(x, y), kTrace) << x;
    EXPECT_EQ(CountPixels(image, kMarker, 0, X(50) - 1), 0);

    // Values above full scale are clipped.
    EXPECT_EQ(CountPixels(PageGraph(false, Values(510, {})).Picture(), kTrace), 0);
    // So large that a 32-bit product would wrap round to the bottom edge.
    EXPECT_EQ(CountPixels(PageGraph(false, Values(1u << 30, {})).Picture(), kTrace), 0);
    // A rise out of the picture still draws up to the top edge.
    const QImage rise = PageGraph(false, Values(100, {{60, 510}})).Picture();
    EXPECT_GT(CountPixels(rise.copy(0, 0, 400, 1), kTrace, X(59), X(60)), 0);
}

TEST(SimpleGraph, SavesA400By200PictureInTheFormatOfTheSuffixOrSaysWhyNot)
{
    CTempFolder folder;
    const auto path = [&folder](const char* name) {
        return QString::fromStdString((folder / name).string());
    };
    PageGraph page(true, kMarked);
    page.graph.resize(275, 75); // the saved size is its own
    const std::pair<const char*, const char*> cases[] = {
        {"graph.png", "png"}, {"GRAPH.PNG", "png"}, {"graph.JPeG", "jpeg"}, {"graph.unknownformat", "png"}};
    for (const auto& [name, format] : cases) {
        QString error;
        ASSERT_TRUE(page.graph.SaveGraph(path(name), &error)) << error.toStdString();
        QImageReader reader(path(name));
        reader.setDecideFormatFromContent(true);
        EXPECT_EQ(reader.format(), QByteArray(format)) << name;
        EXPECT_EQ(reader.read().size(), QSize(400, 200)) << name;
    }
    // PNG is lossless: the file holds exactly the rendering.
    EXPECT_EQ(QImage(path("graph.png")).convertToFormat(QImage::Format_RGB32), page.Picture());

    // Through the save dialog, into a folder that is a file: not even root can
    // create a file in it. The dialog gets the name, the message box is kept.
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
    page.graph.OnSaveGraph();
    EXPECT_TRUE(message.startsWith(
        QStringLiteral("The graph could not be saved to %1.png:\n").arg(path("plain/graph"))))
        << message.toStdString();
}
