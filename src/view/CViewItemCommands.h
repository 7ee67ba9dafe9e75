#pragma once
// Puts the item commands on a view: answers their questions with the real
// item dialogs, repaints through the view and registers them as one of the
// view's command targets. It is a child of the view and lives as long as it.
#include "view/ItemCommandHost.h"
#include "view/ItemCommands.h"

#include <QObject>

class CMyView;

class CViewItemCommands : public QObject, public ItemCommandHost {
    Q_OBJECT
public:
    // Attaches to `view`, whose document must already be set.
    explicit CViewItemCommands(CMyView* view);

    ItemCommands& Commands() { return m_commands; }

    void InvalidateScrolled(const QRegion& region) override;
    void CurrentCardCleared() override;
    bool AskDeleteImage(const Card& card, DelImgModel& model) override;
    bool AskRotateDegree(RotateModel& model) override;
    bool AskSize(SizeModel& model) override;
    bool AskSemitransparency(SemiModel& model) override;
    bool AskEraseExtent(TransModel& model) override;

private:
    CMyView* m_pView;
    ItemCommands m_commands;
};
