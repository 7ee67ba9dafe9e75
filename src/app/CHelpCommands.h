#pragma once
// The Help menu: Help (the "Quick Index" page, also F1), Visit Website and
// About. An application-level command target (CMyApp::AddCommandTarget).
#include "document/CommandTarget.h"

class QWidget;

class CHelpCommands : public CommandTarget {
public:
    // `window` owns the dialogs, so they open over it.
    explicit CHelpCommands(QWidget* window);

    bool OnCommand(int id) override;
    bool HandlesCommand(int id) const override;

    // The product's website, which Visit Website opens and About shows.
    static constexpr const char* kWebsite = "https://muralcrafter.example.org/";

private:
    QWidget* m_pWindow;
};
