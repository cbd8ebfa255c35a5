#include "lists/UMarkupBox.h"

#include "data/engine/TDataSource.h"
#include "data/engine/TField.h"

#include <QEvent>
#include <QLabel>
#include <QRegularExpression>
#include <QVBoxLayout>

TMarkupBox::TMarkupBox(const QString& caption, const QString& markup, QWidget* parent)
    : QGroupBox(caption, parent), m_sMarkup(markup), m_pSource(new TDataSource(this)) {
    lblData = new QLabel(this);
    lblData->setObjectName(QStringLiteral("lblData"));
    lblData->setTextFormat(Qt::RichText);
    lblData->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblData->setWordWrap(true);
    lblData->setTextInteractionFlags(Qt::NoTextInteraction);
    lblData->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addWidget(lblData, 1);

    connect(m_pSource, &TDataSource::DataSetChanged, this, &TMarkupBox::Show);
    connect(m_pSource, &TDataSource::RecordChanged, this, &TMarkupBox::Show);
    Show();
}

TMarkupBox::~TMarkupBox() {
    m_pSource->SetDataSet(nullptr);
}

void TMarkupBox::SetDataSet(TDataSet* dataSet) {
    m_pSource->SetDataSet(dataSet);
    Show();
}

void TMarkupBox::SetEmptyText(const QString& text) {
    if (!lblEmpty) {
        lblEmpty = new QLabel(this);
        lblEmpty->setObjectName(QStringLiteral("lblEmpty"));
        lblEmpty->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        lblEmpty->hide();
        layout()->addWidget(lblEmpty);
    }
    lblEmpty->setText(text);
    Show();
}

QString TMarkupBox::Fill(const QString& markup, TDataSet* dataSet) {
    static const QRegularExpression tag(QStringLiteral("<#([^<>]*)>"));
    const bool hasRow = dataSet && dataSet->Active() && !dataSet->IsEmpty();
    QString result;
    qsizetype from = 0;
    for (auto it = tag.globalMatch(markup); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        result += markup.mid(from, match.capturedStart() - from);
        from = match.capturedEnd();
        const TField* field = hasRow ? dataSet->FindField(match.captured(1).trimmed()) : nullptr;
        if (field) {
            QString value = field->DisplayText().toHtmlEscaped();
            value.replace(QStringLiteral("\r\n"), QStringLiteral("<BR>"));
            value.replace(QLatin1Char('\n'), QStringLiteral("<BR>"));
            result += value;
        }
    }
    result += markup.mid(from);
    return result;
}

void TMarkupBox::Show() {
    TDataSet* dataSet = m_pSource->DataSet();
    lblData->setText(Fill(m_sMarkup, dataSet));
    // The box's own text stands in for the template only when the dataset
    // has been read and holds nothing; while it is closed both stay as they are.
    if (lblEmpty && dataSet && dataSet->Active()) {
        const bool empty = dataSet->IsEmpty();
        lblEmpty->setVisible(empty);
        lblData->setVisible(!empty);
    }
}

void TMarkupBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QGroupBox::mouseDoubleClickEvent(event);
    Q_EMIT DoubleClicked();
}

bool TMarkupBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblData && event->type() == QEvent::MouseButtonDblClick) {
        Q_EMIT DoubleClicked();
        return true;
    }
    return QGroupBox::eventFilter(watched, event);
}
