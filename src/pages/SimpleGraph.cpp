#include "SimpleGraph.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <algorithm>

namespace {
const QColor kGridColour(128, 128, 128);
const QColor kTraceColour(64, 255, 64);
const QColor kMarkerColour(64, 255, 255);

constexpr int kColumns = 8;
constexpr int kRows = 10;
// Far outside any picture but small enough for the rasteriser: a value that
// lies this far off the edge draws the same pixels as the exact one.
constexpr double kFarOffEdge = 1 << 20;

QPen LinePen(const QColor& colour)
{
    QPen pen(colour, 1, Qt::SolidLine);
    pen.setCosmetic(true);
    return pen;
}

// The format Qt writes for the suffix of `path` (any letter case); PNG when
// the suffix names none.
QByteArray FormatForPath(const QString& path)
{
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    if (!suffix.isEmpty() && QImageWriter::supportedImageFormats().contains(suffix))
        return suffix;
    return QByteArrayLiteral("png");
}
} // namespace

CSimpleGraph::CSimpleGraph(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    // Every paint covers the whole inside, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CSimpleGraph::AddValue(uint32_t value)
{
    std::copy(values.begin() + 1, values.end(), values.begin());
    values.back() = value;
}

void CSimpleGraph::Render(QImage& image) const
{
    QPainter painter(&image);
    DrawBackground(painter, image.width(), image.height());
    DrawData(painter, image.width(), image.height());
}

QImage CSimpleGraph::RenderSavedImage() const
{
    QImage image(kSavedWidth, kSavedHeight, QImage::Format_RGB32);
    Render(image);
    return image;
}

bool CSimpleGraph::SaveGraph(const QString& path, QString* error) const
{
    QImageWriter writer(path, FormatForPath(path));
    if (writer.write(RenderSavedImage()))
        return true;
    if (error)
        *error = writer.errorString();
    return false;
}

void CSimpleGraph::OnSaveGraph()
{
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.setNameFilter(QStringLiteral("*.png"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    QString error;
    if (!SaveGraph(path, &error))
        QMessageBox::warning(
            this, tr("Save graph"),
            tr("The graph could not be saved to %1:\n%2").arg(QDir::toNativeSeparators(path), error));
}

void CSimpleGraph::paintEvent(QPaintEvent*)
{
    const QRect inside = contentsRect();
    if (m_buffer.size() != inside.size())
        m_buffer = QImage(inside.size(), QImage::Format_RGB32);
    if (!m_buffer.isNull())
        Render(m_buffer);
    QPainter painter(this);
    painter.drawImage(inside.topLeft(), m_buffer);
    drawFrame(&painter);
}

void CSimpleGraph::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(tr("Save graph"), this, &CSimpleGraph::OnSaveGraph);
    menu.exec(event->globalPos());
}

void CSimpleGraph::DrawBackground(QPainter& painter, int width, int height) const
{
    painter.fillRect(0, 0, width, height, backgroundColour);
    painter.setPen(LinePen(kGridColour));
    for (int k = 1; k < kColumns; ++k)
        painter.drawLine(width * k / kColumns, 0, width * k / kColumns, height);
    for (int k = 1; k < kRows; ++k)
        painter.drawLine(0, height * k / kRows, width, height * k / kRows);
}

double CSimpleGraph::ValueY(uint32_t value, int height) const
{
    // The value counts as signed, so the marker lies below the bottom edge.
    // The product is taken in 64 bits: a huge reading stays above the top
    // edge instead of wrapping round.
    const int64_t signedValue = static_cast<int32_t>(value);
    const int64_t y = height - signedValue * height / fullScale;
    return std::clamp(static_cast<double>(y), -kFarOffEdge, kFarOffEdge);
}

void CSimpleGraph::DrawData(QPainter& painter, int width, int height) const
{
    if (fullScale <= 0)
        return;
    const QPen tracePen = LinePen(kTraceColour);
    const QPen markerPen = LinePen(kMarkerColour);
    const int step = width / kValueCount;
    painter.setPen(tracePen);
    QPointF position(0, ValueY(values[0], height));
    for (size_t i = 1; i < values.size(); ++i) {
        const uint32_t value = values[i];
        const QPointF point(static_cast<int>(i) * width / kValueCount, ValueY(value, height));
        if (gapMode && (value == 0 || values[i - 1] == 0)) {
            position = point;
            continue;
        }
        if (value == MarkerValue) {
            painter.setPen(markerPen);
            painter.drawLine(QPointF(point.x(), 0), QPointF(point.x(), height));
            painter.setPen(tracePen);
            position = QPointF(point.x(), height);
            continue;
        }
        // Bridge the marker: continue the trace from the reading before it.
        if (values[i - 1] == MarkerValue && i >= 3)
            position = QPointF(point.x() - 2 * step, ValueY(values[i - 2], height));
        painter.drawLine(position, point);
        position = point;
    }
}
