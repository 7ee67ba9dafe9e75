#pragma once
// "Quick Index": the help page from the program's resources, in a window
// that can be resized and maximised; the page scrolls.
#include <QDialog>

class QTextBrowser;

class CDlgHelp : public QDialog {
    Q_OBJECT
public:
    explicit CDlgHelp(QWidget* parent = nullptr);

    QTextBrowser* Browser() const { return m_pBrowser; }

private:
    QTextBrowser* m_pBrowser;
};
