#include "editors/UEditorLayout.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>

namespace UEditorLayout {

QWidget* MakeHeading(const QString& icon, const QString& text, QWidget* parent) {
    auto* heading = new QWidget(parent);
    heading->setObjectName(QStringLiteral("pnlHeading"));
    auto* picture = new QLabel(heading);
    picture->setObjectName(QStringLiteral("imgHeading"));
    picture->setPixmap(QPixmap(QStringLiteral(":/korvane/icons/") + icon));
    auto* caption = new QLabel(text, heading);
    caption->setObjectName(QStringLiteral("lblHeading"));
    caption->setWordWrap(true);
    QFont font = caption->font();
    font.setBold(true);
    caption->setFont(font);

    auto* layout = new QHBoxLayout(heading);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->setSpacing(10);
    layout->addWidget(picture, 0, Qt::AlignTop);
    layout->addWidget(caption, 1, Qt::AlignVCenter);
    return heading;
}

QVBoxLayout* StackUnderHeading(QWidget* client, const QString& icon, const QString& text) {
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(MakeHeading(icon, text, client));
    return layout;
}

QFormLayout* MakeForm() {
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->setRowWrapPolicy(QFormLayout::DontWrapRows);
    return form;
}

void SetKeyReadOnly(TDBEdit* edit, bool readOnly) {
    edit->SetReadOnly(readOnly);
    // The system's grey-text colour marks a key that can no longer change.
    const QPalette system = QApplication::palette(edit);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, readOnly ? system.color(QPalette::Disabled, QPalette::Text)
                                              : system.color(QPalette::Base));
    edit->setPalette(palette);
}

} // namespace UEditorLayout
