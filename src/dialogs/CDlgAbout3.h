#pragma once
// "About Muralcrafter": the application icon, the About page from the
// program's resources (version, notice, website, contacts) and OK. Links on
// the page open in the desktop's browser or mail program.
#include <QDialog>

class QLabel;
class QTextBrowser;

class CDlgAbout3 : public QDialog {
    Q_OBJECT
public:
    explicit CDlgAbout3(QWidget* parent = nullptr);

    QTextBrowser* Browser() const { return m_pBrowser; }
    QLabel* Icon() const { return m_pIcon; }

private:
    QTextBrowser* m_pBrowser;
    QLabel* m_pIcon;
};
