#pragma once

// "Recipients": the customers that have a mobile number, to choose the
// recipients of a text message from, beside a list of those chosen. Choosing
// is not there yet: the arrow buttons do nothing.

#include <QDialog>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTableWidget;
class TDataSetModel;
class TQuery;
class TdmlGlobals;

class TfrmRecipients : public QDialog {
    Q_OBJECT
public:
    // The candidates' query: customers with a mobile number by first name.
    static QString RecipientsSql();

    // `dataModule` (not owned, may be null) opens the candidates on show.
    TfrmRecipients(QWidget* owner, TdmlGlobals* dataModule);
    ~TfrmRecipients() override;

    TQuery* sqlRecipients() const { return m_pRecipients.get(); }

    QLabel* lblContacts;
    QTableView* grdContacts;
    QLineEdit* edtSearch; // finds a first name as it is typed
    QLabel* lblSelected;
    QTableWidget* grdSelected;
    QPushButton* btnAdd;
    QPushButton* btnRemove;
    QPushButton* btnDone;
    QPushButton* btnCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TdmlGlobals* m_pDataModule;
    std::unique_ptr<TQuery> m_pRecipients;
    TDataSetModel* m_pModel;
};
