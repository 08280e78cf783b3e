#include "ui/pages/page.h"

#include "ui/skin/skin.h"

namespace quobel {

CPage::CPage(PageHost& host, QWidget* parent) : QWidget(parent), m_host(host) {}

QImage CPage::WindowBackground() const { return LoadPicture(m_host.Skin().SkinPath("main_nr.png")); }

QImage CPage::BackgroundUnder(const QImage& window_background) const {
    QWidget* window = m_host.Window();
    const QPoint at = window != nullptr && window->isAncestorOf(this) ? mapTo(window, QPoint(0, 0)) : pos();
    return CropBackground(window_background, QRect(at, size()));
}

}  // namespace quobel
