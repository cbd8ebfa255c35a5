#pragma once

// A captioned box that shows the current row of a dataset through a markup
// template: bold text and line breaks as the template writes them, and each
// tag "<#Field>" replaced by that field's value. Values are shown as text,
// never read as markup; a field the dataset does not have, a closed dataset
// and one without rows give empty values.
//
// A box may also have a text of its own for an open dataset without rows
// ("No Contract..."), shown instead of the template's. Double-clicking the
// box's caption bar or its template's label tells DoubleClicked.

#include <QGroupBox>
#include <QString>

class QLabel;
class TDataSet;
class TDataSource;

class TMarkupBox : public QGroupBox {
    Q_OBJECT
public:
    TMarkupBox(const QString& caption, const QString& markup, QWidget* parent = nullptr);
    ~TMarkupBox() override;

    // Follows `dataSet` (not owned; nullptr for none).
    void SetDataSet(TDataSet* dataSet);
    // Shown instead of the template while the dataset is open with no row.
    void SetEmptyText(const QString& text);

    // The template with the values of `dataSet`'s current row.
    static QString Fill(const QString& markup, TDataSet* dataSet);

    QLabel* lblData;
    // Null until SetEmptyText.
    QLabel* lblEmpty = nullptr;

Q_SIGNALS:
    void DoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show();

    QString m_sMarkup;
    TDataSource* m_pSource;
};
