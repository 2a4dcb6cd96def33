// The pages as the main dialog builds them: no control crosses the frame line
// of a group box, whatever height the style gives the box's title.
#include <QGroupBox>
#include <QTabWidget>
#include <gtest/gtest.h>

#include "AbsentTesterDevice.h"
#include "Q9TesterDlg.h"
#include "TempFolder.h"
#include "TesterLink.h"

namespace {

std::string Describe(const QWidget& widget)
{
    const QVariant text =
        widget.property("text").isValid() ? widget.property("text") : widget.property("title");
    return std::string(widget.metaObject()->className()) + " '" +
           (text.isValid() ? text.toString() : widget.objectName()).toStdString() + "'";
}

// Controls beside a box lie wholly inside its contents (below the title) or
// wholly outside it, controls in it inside its contents. Returns the box count.
int ExpectClearOfFrames(const QWidget& page, const QString& tab)
{
    const auto boxes = page.findChildren<QGroupBox*>();
    for (const QGroupBox* box : boxes) {
        const QRect inside = box->contentsRect().translated(box->pos());
        for (const QWidget* other : box->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const QRect r = other->geometry();
            EXPECT_TRUE(other == box || inside.contains(r) || !box->geometry().intersects(r))
                << tab.toStdString() << ": " << Describe(*other) << " crosses the frame of "
                << Describe(*box);
        }
        for (const QWidget* child : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(box->contentsRect().contains(child->geometry()))
                << tab.toStdString() << ": " << Describe(*child) << " crosses the frame of "
                << Describe(*box);
    }
    return static_cast<int>(boxes.size());
}

} // namespace

TEST(PageFrames, NoControlCrossesAGroupBoxFrameOnAnyPage)
{
    CTempFolder work;
    work.MakeCurrent(); // the dialog opens its log files in the working folder
    CAbsentTesterDevice device;
    CQ9TesterDlg dialog(device, nullptr);
    dialog.TesterLink().Stop();
    dialog.show();
    auto* tabs = dialog.findChild<QTabWidget*>(QStringLiteral("mainTab"));
    ASSERT_NE(tabs, nullptr);
    int boxes = 0;
    for (int i = 0; i < tabs->count(); ++i) {
        // Shown, so that pages placing controls by their size have done so.
        tabs->setCurrentIndex(i);
        boxes += ExpectClearOfFrames(*tabs->widget(i), tabs->tabText(i));
    }
    EXPECT_GT(boxes, 0); // the Z9 Udu page has one
}
