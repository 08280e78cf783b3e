#pragma once
// CPickClrDlg: the modal fixed-palette picker over the mouse description's colour list.
// Ends with 1 and the checked colour (OK) or 2 (closed); without its background picture
// it closes at once.

#include <QString>

#include <optional>
#include <vector>

#include "base/geometry.h"
#include "ui/skin/skin_dlg.h"

namespace quobel {

class CColorBtnDlg;
class CPngBtn;
class PageHost;

class CPickClrDlg : public CSkinDlg {
    Q_OBJECT
public:
    static constexpr int kSwatch = 28;
    static constexpr int kSwatchTop = 90;

    CPickClrDlg(PageHost& host, QWidget* parent, const QString& title);

    // Runs the picker over the host's window; the checked colour on OK.
    static std::optional<Colour> Run(PageHost& host, const QString& title);

    // False when the background picture is missing.
    [[nodiscard]] bool HasBackground() const { return !m_imgBkg.isNull(); }
    [[nodiscard]] const std::vector<CColorBtnDlg*>& Swatches() const { return m_swatches; }
    [[nodiscard]] Colour Checked() const;
    [[nodiscard]] CPngBtn* OkButton() const { return m_pOk; }
    [[nodiscard]] CPngBtn* CloseButton() const { return m_pClose; }
    // Gap between swatches for a count of colours.
    [[nodiscard]] static int Gap(int count);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Check(int index);

    QString m_szTitle;
    std::vector<CColorBtnDlg*> m_swatches;
    CPngBtn* m_pOk = nullptr;
    CPngBtn* m_pCancel = nullptr;
    CPngBtn* m_pClose = nullptr;
};

}  // namespace quobel
