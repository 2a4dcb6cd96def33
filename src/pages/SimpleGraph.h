#pragma once

#include <QColor>
#include <QFrame>
#include <QImage>
#include <QString>
#include <array>
#include <cstdint>

class QPainter;

// A scrolling strip chart of the last 120 values, oldest on the left, over a
// grid of eight columns and ten rows. The owning page appends one value per
// tick and repaints; a right click offers to save the picture as an image.
// The graph draws a thin border of its own; the chart fills the inside.
class CSimpleGraph : public QFrame {
    Q_OBJECT
  public:
    static constexpr int kValueCount = 120;
    // Draws a full-height line instead of a reading (all bits set).
    static constexpr uint32_t MarkerValue = 0xFFFFFFFFu;
    // The size of a saved picture, whatever the size on screen.
    static constexpr int kSavedWidth = 400;
    static constexpr int kSavedHeight = 200;

    explicit CSimpleGraph(QWidget* parent = nullptr);

    // Scrolls every value one place towards the oldest and stores `value` as
    // the newest. Does not repaint: the caller calls update() afterwards.
    void AddValue(uint32_t value);
    uint32_t Value(int index) const { return values[static_cast<size_t>(index)]; }

    // Draws background, grid and values into `image`, scaled to its size.
    void Render(QImage& image) const;
    // The picture as it is saved: 400 x 200 pixels, RGB without alpha.
    QImage RenderSavedImage() const;
    // Writes the saved picture to `path` in the format its suffix names (any
    // letter case), PNG when Qt can write no such format. False with the
    // reason in `error` when the file cannot be written.
    bool SaveGraph(const QString& path, QString* error = nullptr) const;

    // The value drawn at the top edge; must be positive when the graph draws.
    int32_t fullScale = 0;
    // When on, 0 is a missing reading and breaks the trace.
    bool gapMode = false;
    QColor backgroundColour = QColor(0, 0, 0);

  public slots:
    // "Save graph": asks for a file name, saves, and tells the user when the
    // file could not be written.
    void OnSaveGraph();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void DrawBackground(QPainter& painter, int width, int height) const;
    void DrawData(QPainter& painter, int width, int height) const;
    double ValueY(uint32_t value, int height) const;

    std::array<uint32_t, kValueCount> values{};
    // Reused between paints while the size stays the same.
    QImage m_buffer;
};
