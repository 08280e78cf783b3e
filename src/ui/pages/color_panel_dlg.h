#pragma once
// CColorPanelDlg: the modal colour panel: preset grid, spectrum bar, preview box and the
// R, G, B fields. Ends with 1 and a colour (OK) or 2 (closed).

#include <QRect>

#include <array>
#include <optional>

#include "base/geometry.h"
#include "ui/skin/skin_dlg.h"

class QLineEdit;

namespace quobel {

class CPngBtn;
class PageHost;

class CColorPanelDlg : public CSkinDlg {
    Q_OBJECT
public:
    static constexpr int kWidth = 385;
    static constexpr int kHeight = 265;
    static constexpr int kRows = 5;
    static constexpr int kCols = 8;
    static constexpr const char* kRangeMessage = "The maximum RGB value is 255.";

    CColorPanelDlg(PageHost& host, QWidget* parent, Colour initial);

    // Runs the panel over the host's window; the colour on OK.
    static std::optional<Colour> Run(PageHost& host, Colour initial);

    [[nodiscard]] Colour Current() const { return m_clr; }
    // 0 red, 1 green, 2 blue.
    [[nodiscard]] QLineEdit* Field(int i) const { return m_fields.at(static_cast<std::size_t>(i)); }
    [[nodiscard]] CPngBtn* OkButton() const { return m_pOk; }
    [[nodiscard]] CPngBtn* CloseButton() const { return m_pClose; }
    [[nodiscard]] static QRect CellRect(int row, int col);
    [[nodiscard]] static QRect SpectrumRect() { return {30, 185, 230, 60}; }
    [[nodiscard]] static QRect PreviewRect() { return {292, 25, 70, 70}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The colour of the three fields; nullopt when one is not a number 0..255.
    [[nodiscard]] std::optional<Colour> ReadFields() const;
    void ShowFields();
    void OnEdited();
    void OnOk();

    PageHost& m_host;
    Colour m_clr = 0x0000FF;
    std::array<QLineEdit*, 3> m_fields{};
    CPngBtn* m_pOk = nullptr;
    CPngBtn* m_pClose = nullptr;
    bool m_bPressed = false;
};

}  // namespace quobel
