// No control crosses the frame line of a group box, whatever height the style gives the box's title.
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
    int boxes = 0;
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i); // shown, so that pages placing controls by their size have done so
        for (const QGroupBox* box : tabs->widget(i)->findChildren<QGroupBox*>()) {
            ++boxes;
            // Controls beside the box lie wholly inside its contents (below the
            // title) or wholly outside it, controls in it inside its contents.
            const QRect inside = box->contentsRect().translated(box->pos());
            const auto beside = box->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            for (const QWidget* other : beside + box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                const bool in = other->parentWidget() == box;
                const QRect r = in ? other->geometry().translated(box->pos()) : other->geometry();
                EXPECT_TRUE(other == box || inside.contains(r) || (!in && !box->geometry().intersects(r)))
                    << tabs->tabText(i).toStdString() << ": " << Describe(*other) << " crosses the frame of "
                    << Describe(*box);
            }
        }
    }
    EXPECT_GT(boxes, 0); // the Z9 Udu page has one
}
