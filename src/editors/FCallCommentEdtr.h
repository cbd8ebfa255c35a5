#pragma once

// The small dialog in which one comment line of a call is changed: the day
// and the time it was written, and its text. It edits nothing itself; the
// call editor fills it in, shows it and writes back what it gives.

#include <QDateTime>
#include <QDialog>

class QDateEdit;
class QLineEdit;
class QPushButton;
class QTimeEdit;

class TfrmCallCommentEdtr : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCallCommentEdtr(QWidget* parent = nullptr);

    // Shows `line` written at `stamp` in the fields.
    void SetComment(const QString& line, const QDateTime& stamp);
    QString Comment() const;
    // The day of the date field at the time of day of the time field, to
    // the millisecond the line carried.
    QDateTime Stamp() const;

    QDateEdit* edtDate;
    QTimeEdit* edtTime;
    QLineEdit* edtComment;
    QPushButton* btnOk;
    QPushButton* btnCancel;
};
