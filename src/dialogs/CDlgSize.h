#pragma once
// "Customize Size": the item's new size as width and height in pixels or as a
// ratio in percent. The boxes keep each other in the picture's proportions;
// the radio buttons follow the box that has the focus and choose what OK
// checks. Invalid input is reported and the dialog stays open.
#include "dialogs/SizeModel.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;

class CDlgSize : public QDialog {
    Q_OBJECT
public:
    CDlgSize(SizeModel& model, QWidget* parent = nullptr);

    void accept() override;

    QLineEdit* WidthEdit() const { return m_pWidth; }
    QLineEdit* HeightEdit() const { return m_pHeight; }
    QLineEdit* RatioEdit() const { return m_pRatio; }
    QRadioButton* WidthRadio() const { return m_pWidthRadio; }
    QRadioButton* RatioRadio() const { return m_pRatioRadio; }

    static constexpr int IDC_WIDTH = 1000;
    static constexpr int IDC_HEIGHT = 1001;
    static constexpr int IDC_RATIO = 1008;
    static constexpr int IDC_MODE_WIDTH = 1014;
    static constexpr int IDC_MODE_RATIO = 1015;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setMode(int mode);
    // Writes the model's texts into the boxes; writing does not count as an
    // edit, so no box recalculates from a value the dialog wrote itself.
    void showTexts();

    SizeModel& m_model;
    QLineEdit* m_pWidth;
    QLineEdit* m_pHeight;
    QLineEdit* m_pRatio;
    QRadioButton* m_pWidthRadio;
    QRadioButton* m_pRatioRadio;
};
