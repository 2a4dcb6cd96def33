#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "SimpleGraph.h"

namespace {
const QRgb kBackground = qRgb(92, 92, 92);
const QRgb kGrid = qRgb(128, 128, 128);
const QRgb kTrace = qRgb(64, 255, 64);
const QRgb kMarker = qRgb(64, 255, 255);

// A graph as the pages set it up.
struct PageGraph {
    explicit PageGraph(bool gapMode)
    {
        graph.fullScale = 255;
        graph.gapMode = gapMode;
        graph.backgroundColour = QColor(92, 92, 92);
    }
    void Fill(const std::vector<uint32_t>& values)
    {
        for (uint32_t value : values)
            graph.AddValue(value);
    }
    QImage Picture() const
    {
        QImage image(400, 200, QImage::Format_RGB32);
        graph.Render(image);
        return image;
    }
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
} // namespace

TEST(SimpleGraph, NewGraphShowsBackgroundAndGridOnly)
{
    PageGraph page(true);
    const QImage image = page.Picture();
    EXPECT_EQ(image.pixel(50, 5), kGrid); // eight columns
    EXPECT_EQ(image.pixel(5, 20), kGrid); // ten rows
    EXPECT_EQ(image.pixel(25, 10), kBackground);
    EXPECT_EQ(CountPixels(image, kBackground) + CountPixels(image, kGrid), 400 * 200);
}

TEST(SimpleGraph, ZeroesMakeASawToothWithoutGapModeAndGapsWithIt)
{
    std::vector<uint32_t> alternating;
    for (int i = 0; i < 120; ++i)
        alternating.push_back(i % 2 == 0 ? 0 : 255);

    PageGraph solid(false);
    solid.Fill(alternating);
    const QImage image = solid.Picture();
    // Every segment runs between the bottom and the top edge.
    for (int i = 1; i < 120; ++i) {
        SCOPED_TRACE(i);
        bool crossesMiddle = false;
        for (int x = X(i - 1); x <= X(i); ++x)
            crossesMiddle = crossesMiddle || image.pixel(x, 100) == kTrace;
        EXPECT_TRUE(crossesMiddle);
    }
    EXPECT_EQ(image.pixel(X(1), 0), kTrace);

    PageGraph gapped(true);
    gapped.Fill(alternating);
    EXPECT_EQ(CountPixels(gapped.Picture(), kTrace), 0);

    // In gap mode a missing reading breaks the trace.
    std::vector<uint32_t> values(120, 0);
    for (int i = 10; i <= 30; ++i)
        values[static_cast<size_t>(i)] = 100;
    values[21] = 0;
    PageGraph broken(true);
    broken.Fill(values);
    const QImage gaps = broken.Picture();
    const int y = 200 - 100 * 200 / 255;
    EXPECT_EQ(gaps.pixel(X(15), y), kTrace);
    EXPECT_EQ(gaps.pixel(X(25), y), kTrace);
    EXPECT_EQ(CountPixels(gaps, kTrace, X(20) + 1, X(22) - 1), 0);
    // Nothing left of the first reading or right of the last.
    EXPECT_EQ(CountPixels(gaps, kTrace, 0, X(10) - 1), 0);
    EXPECT_EQ(CountPixels(gaps, kTrace, X(30) + 1), 0);
}

TEST(SimpleGraph, MarkerDrawsACyanLineAndTheTraceBridgesIt)
{
    std::vector<uint32_t> values(120, 0);
    values[49] = 100;
    values[50] = CSimpleGraph::MarkerValue;
    values[51] = 100;
    PageGraph page(true);
    page.Fill(values);
    const QImage image = page.Picture();
    const int y = 200 - 100 * 200 / 255;
    for (int row : {0, 10, 100, 199})
        EXPECT_EQ(image.pixel(X(50), row), kMarker) << row;
    // The bridge starts two steps left of index 51 (the step is 400 / 120 = 3
    // pixels) and crosses the marker line.
    for (int x = X(51) - 6; x <= X(51); ++x)
        EXPECT_EQ(image.pixel(x, y), kTrace) << x;
    EXPECT_EQ(CountPixels(image, kMarker, 0, X(50) - 1), 0);
}

TEST(SimpleGraph, ValuesAboveFullScaleAreClipped)
{
    PageGraph twice(false);
    twice.Fill(std::vector<uint32_t>(120, 510));
    EXPECT_EQ(CountPixels(twice.Picture(), kTrace), 0);

    // So large that a 32-bit product would wrap round to the bottom edge.
    PageGraph huge(false);
    huge.Fill(std::vector<uint32_t>(120, 1u << 30));
    EXPECT_EQ(CountPixels(huge.Picture(), kTrace), 0);

    // A rise out of the picture still draws up to the top edge.
    std::vector<uint32_t> values(120, 100);
    values[60] = 510;
    PageGraph rise(false);
    rise.Fill(values);
    const QImage image = rise.Picture();
    EXPECT_GT(CountPixels(image, kTrace, X(59), X(60)), 0);
    bool touchesTop = false;
    for (int x = X(59); x <= X(60); ++x)
        touchesTop = touchesTop || image.pixel(x, 0) == kTrace;
    EXPECT_TRUE(touchesTop);
}

TEST(SimpleGraph, PaintsInsideItsBorder)
{
    PageGraph page(true);
    page.graph.resize(275, 75);
    page.graph.show();
    const QImage shown = page.graph.grab().toImage();
    ASSERT_EQ(shown.size(), QSize(275, 75));
    // The grid of the 273 x 73 inside: first column line at 273 / 8 = 34.
    EXPECT_EQ(shown.pixel(1 + 34, 3), kGrid);
    EXPECT_EQ(shown.pixel(1 + 33, 3), kBackground);
}

TEST(SimpleGraph, SavesA400By200PictureInTheFormatOfTheSuffix)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    PageGraph page(true);
    page.graph.resize(275, 75);
    std::vector<uint32_t> values(120, 0);
    values[49] = 100;
    values[50] = CSimpleGraph::MarkerValue;
    values[51] = 100;
    page.Fill(values);

    struct Case {
        const char* name;
        const char* format;
    };
    for (const Case c : {Case{"graph.png", "png"}, Case{"GRAPH.PNG", "png"}, Case{"graph.JPeG", "jpeg"},
                         Case{"graph.unknownformat", "png"}}) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        QString error;
        ASSERT_TRUE(page.graph.SaveGraph(path, &error)) << error.toStdString();
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        EXPECT_EQ(reader.format(), QByteArray(c.format));
        const QImage saved = reader.read();
        EXPECT_EQ(saved.size(), QSize(400, 200));
    }
    // PNG is lossless: the file holds exactly the rendering.
    const QImage png(dir.filePath(QStringLiteral("graph.png")));
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), page.Picture());

    QString error;
    EXPECT_FALSE(page.graph.SaveGraph(dir.filePath(QStringLiteral("missing/folder/graph.png")), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(page.graph.SaveGraph(dir.path(), &error)); // a folder, not a file
}

namespace {
// Runs `answer` on the next shown window of type T (the modal loop that shows
// it runs these checks). Looks at every window rather than the active one, as
// activation may lag on a loaded machine; gives up after a minute.
template <class T, class Answer> void WhenModal(Answer answer)
{
    auto* poll = new QTimer(qApp);
    auto deadline = std::make_shared<QDeadlineTimer>(60000);
    QObject::connect(poll, &QTimer::timeout, [poll, answer, deadline] {
        T* window = nullptr;
        for (QWidget* candidate : QApplication::topLevelWidgets()) {
            if (auto* shown = qobject_cast<T*>(candidate); shown && shown->isVisible())
                window = shown;
        }
        if (window || deadline->hasExpired()) {
            poll->stop();
            poll->deleteLater();
        }
        if (window)
            answer(window);
    });
    poll->start(5);
}

// Answers the save dialog that OnSaveGraph is about to open: chooses `path`,
// or cancels when it is empty. When `failureExpected`, closes the message
// box that should follow and keeps its text in `message`.
void AnswerSaveDialog(const QString& path, bool failureExpected, QString& message)
{
    WhenModal<QFileDialog>([path, failureExpected, &message](QFileDialog* dialog) {
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        if (failureExpected)
            WhenModal<QMessageBox>([&message](QMessageBox* box) {
                message = box->text();
                box->close();
            });
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept(); // as the Save button does
    });
}
} // namespace

TEST(SimpleGraph, SaveGraphAsksForAFileAndSaysWhenItCannotWrite)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CSimpleGraph graph;
    graph.fullScale = 255;

    QString message;
    AnswerSaveDialog(dir.filePath(QStringLiteral("chosen")), false, message);
    graph.OnSaveGraph();
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("chosen.png")))); // the default suffix

    AnswerSaveDialog(QString(), false, message);
    graph.OnSaveGraph();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("chosen.png")});

    // A folder that is a file: not even root can create a file in it.
    QFile plainFile(dir.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(plainFile.open(QIODevice::WriteOnly));
    plainFile.close();
    const QString impossible = dir.filePath(QStringLiteral("plain/graph.png"));
    AnswerSaveDialog(impossible, true, message);
    graph.OnSaveGraph();
    EXPECT_TRUE(message.contains(impossible)) << message.toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
