#include "editors/FCallCommentEdtr.h"

#include "editors/UEditorLayout.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

// A comment line holds at most this many characters.
constexpr int kLineWidth = 255;

} // namespace

TfrmCallCommentEdtr::TfrmCallCommentEdtr(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmCallCommentEdtr"));
    setWindowTitle(QStringLiteral("Call Comment Editor"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    edtDate = new QDateEdit(this);
    edtDate->setObjectName(QStringLiteral("edtDate"));
    // "Sat 06 Dec 2026 ".
    edtDate->setDisplayFormat(QStringLiteral("ddd dd MMM yyyy "));
    edtDate->setCalendarPopup(true);
    edtTime = new QTimeEdit(this);
    edtTime->setObjectName(QStringLiteral("edtTime"));
    // "03h21 PM": twelve-hour clock with the day half.
    edtTime->setDisplayFormat(QStringLiteral("hh'h'mm AP"));
    edtComment = new QLineEdit(this);
    edtComment->setObjectName(QStringLiteral("edtComment"));
    edtComment->setMaxLength(kLineWidth);
    edtComment->setMinimumWidth(UEditorLayout::kFieldWidth * 3 / 2);

    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    QFormLayout* form = UEditorLayout::MakeForm();
    form->addRow(QStringLiteral("Date"), edtDate);
    form->addRow(QStringLiteral("Time"), edtTime);
    form->addRow(QStringLiteral("Comment"), edtComment);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

void TfrmCallCommentEdtr::SetComment(const QString& line, const QDateTime& stamp) {
    edtComment->setText(line);
    edtDate->setDate(stamp.date());
    edtTime->setTime(stamp.time());
}

QString TfrmCallCommentEdtr::Comment() const {
    return edtComment->text();
}

QDateTime TfrmCallCommentEdtr::Stamp() const {
    return QDateTime(edtDate->date(), edtTime->time());
}
