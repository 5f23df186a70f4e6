// The up-down control attached to an edit: two arrow buttons that step a position
// within a range; the edit shows the position, and the position is the number
// shown in the edit.
#pragma once

#include <QLineEdit>
#include <QWidget>

// Takes the text of `edit` as a number in [min, max]: a number beyond the range
// is clamped into it, a text that is no number gives way to `last`. The edit then
// shows the number, which is returned.
int TakeNumberFromEdit(QLineEdit* edit, int min, int max, int last);

class TUpDown : public QWidget {
    Q_OBJECT
  public:
    TUpDown(QWidget* parent, QLineEdit* associate, int min, int max, int position);

    // The number shown in the edit, read as a signed 16-bit value, as the callers
    // expect. The edit is first brought in line (see TakeEditedText), so the
    // number used is the number shown.
    int16_t Position();
    void SetPosition(int position);
    int Min() const { return fMin; }
    int Max() const { return fMax; }
    QLineEdit* Associate() const { return fAssociate; }

    void StepUp() { SetPosition(Position() + 1); }
    void StepDown() { SetPosition(Position() - 1); }

  protected:
    // The Up and Down keys in the attached edit step the position, as the arrows
    // do; the edit losing the focus takes its text as the position.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // A number typed into the edit becomes the position, clamped into the range;
    // a text that is no number gives way to the last position. Either way the
    // edit then shows the position.
    void TakeEditedText();

    QLineEdit* fAssociate;
    int fMin;
    int fMax;
    int fPosition;
};
