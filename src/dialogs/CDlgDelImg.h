#pragma once
// "Delete Image": asks before an item is deleted, shows its picture as a
// thumbnail and offers to stop asking until the program ends.
#include "dialogs/DelImgModel.h"

#include <QDialog>

class QCheckBox;
class QImage;

class CDlgDelImg : public QDialog {
    Q_OBJECT
public:
    // `image` is the item's working picture, borrowed for the dialog's life;
    // null shows no thumbnail.
    CDlgDelImg(DelImgModel& model, const QImage* image, QWidget* parent = nullptr);

    void done(int result) override;

    QCheckBox* NoPromptBox() const { return m_pNoPrompt; }

    static constexpr int IDC_NO_PROMPT = 1002;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    DelImgModel& m_model;
    const QImage* m_pImage;
    QCheckBox* m_pNoPrompt;
};
