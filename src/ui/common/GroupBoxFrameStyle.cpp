// SPDX-License-Identifier: GPL-3.0-or-later
#include "GroupBoxFrameStyle.h"

#include <QApplication>
#include <QGroupBox>
#include <QImageReader>
#include <QStyleFactory>
#include <QStyleOption>
#include <qdrawutil.h>

namespace {

const QString fusionName = QStringLiteral("fusion");
// Where Qt keeps Fusion's frame picture.
const QString framePicture =
    QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png");
// Fusion's room between the title and the frame's top edge, and its picture's corners.
constexpr int titleGap = 3;
constexpr QMargins frameCorners{6, 6, 6, 6};

} // namespace

GroupBoxFrameStyle::GroupBoxFrameStyle()
    : QProxyStyle(QStyleFactory::create(fusionName))
{}

GroupBoxFrameStyle::~GroupBoxFrameStyle() = default;

void GroupBoxFrameStyle::installOverFusion()
{
    if (QApplication::style()->name().compare(fusionName, Qt::CaseInsensitive) == 0)
        QApplication::setStyle(new GroupBoxFrameStyle);
}

QImage GroupBoxFrameStyle::readFramePicture()
{
    QImageReader reader(framePicture, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

void GroupBoxFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                       QPainter *painter, const QWidget *widget) const
{
    if (element == PE_FrameGroupBox && !m_frameRead) {
        m_frameRead = true;
        m_frame = QPixmap::fromImage(readFramePicture());
    }
    if (element != PE_FrameGroupBox || m_frame.isNull()) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // As Fusion places it: below the title or the check box, or just below the top edge
    // when the box has neither.
    const auto *box = qobject_cast<const QGroupBox *>(widget);
    int top = titleGap;
    if (!box || box->isCheckable() || !box->title().isEmpty())
        top += qMax(pixelMetric(PM_ExclusiveIndicatorHeight, option, widget),
                    option->fontMetrics.height());
    qDrawBorderPixmap(painter, option->rect.adjusted(0, top, 0, 0), frameCorners, m_frame);
}
