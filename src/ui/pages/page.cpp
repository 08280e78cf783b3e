#include "ui/pages/page.h"

namespace quobel {

CPage::CPage(PageHost& host, QWidget* parent) : QWidget(parent), m_host(host) {}

}  // namespace quobel
