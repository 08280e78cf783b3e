// The window menu of the borderless window: what a title bar's menu offers, and the
// program's About item. It opens on a right click on the background and on Alt+Space.

#include <QCoreApplication>
#include <QMenu>

#include "ui/main/quobel_dlg.h"

namespace quobel {

void CQuobelDlg::OpenSystemMenu(QPoint global) {
    if (!m_pSysMenu) {
        m_pSysMenu = new QMenu(this);
        m_pSysMenu->setObjectName("systemMenu");
        // Qt's own catalogue has these window-menu texts in the selected language.
        m_pSysMenu->addAction(QCoreApplication::translate("QMdiSubWindow", "Mi&nimize"), this,
                              &CQuobelDlg::showMinimized);
        m_pSysMenu->addSeparator();
        m_pSysMenu->addAction(QCoreApplication::translate("QMdiSubWindow", "&Close"), this, &CQuobelDlg::Exit);
        const QString about = QString::fromUtf8(kAboutItem);
        if (!about.isEmpty()) {
            m_pSysMenu->addSeparator();
            m_pSysMenu->addAction(about, this, &CQuobelDlg::OnAbout);
        }
    }
    // Not exec(): the menu runs in the window's own event loop, like the skinned menus.
    m_pSysMenu->popup(global);
}

void CQuobelDlg::OnAbout() {
    // The window's title and the version caption it paints.
    const GVar& g = *m_ctx.gvar;
    Info(QString::fromStdString(g.pszTitle) + QLatin1Char('\n') + QString::fromStdString(g.szVersion));
}

}  // namespace quobel
