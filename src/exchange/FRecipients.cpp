#include "exchange/FRecipients.h"

#include "data/DMGlobals.h"
#include "data/engine/TDataSetModel.h"
#include "data/engine/TQuery.h"
#include "shell/UErrors.h"
#include "shell/files/UStrings.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTableWidget>

QString TfrmRecipients::RecipientsSql() {
    UStrings::ListStr sql;
    sql.Add(QStringLiteral("SELECT * FROM CUSTOMER"));
    sql.Add(QStringLiteral("WHERE CELL <> \"\""));
    sql.Add(QStringLiteral("ORDER BY FirstName"));
    return sql.Text();
}

TfrmRecipients::TfrmRecipients(QWidget* owner, TdmlGlobals* dataModule)
    : QDialog(owner), m_pDataModule(dataModule), m_pRecipients(std::make_unique<TQuery>()) {
    setObjectName(QStringLiteral("frmRecipients"));
    setWindowTitle(QStringLiteral("Recipients"));
    m_pRecipients->SetSQL(RecipientsSql());
    // The grid shows who a customer is and the number; the rest stays hidden.
    const std::pair<const char*, const char*> shown[] = {{"FirstName", "Name"},
                                                         {"LastName", "Surname"},
                                                         {"Cell", "Mobile"},
                                                         {"CompanyName", "Company"}};
    for (const char* hidden : {"CustomerID", "Tel", "Fax", "Email", "PhysicalAddr", "PhysicalCode",
                               "PostalAddr", "PostalCode", "Country", "Notes"})
        m_pRecipients->DefineField(QLatin1String(hidden)).SetVisible(false);
    for (const auto& [field, label] : shown)
        m_pRecipients->DefineField(QLatin1String(field)).SetDisplayLabel(QLatin1String(label));

    lblContacts = new QLabel(QStringLiteral("<B>Contacts Directory</B>"), this);
    lblContacts->setObjectName(QStringLiteral("lblContacts"));
    lblContacts->setTextFormat(Qt::RichText);
    m_pModel = new TDataSetModel(this);
    grdContacts = new QTableView(this);
    grdContacts->setObjectName(QStringLiteral("grdContacts"));
    grdContacts->setModel(m_pModel);
    grdContacts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdContacts->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdContacts->setSelectionMode(QAbstractItemView::SingleSelection);
    grdContacts->verticalHeader()->hide();
    grdContacts->verticalHeader()->setDefaultSectionSize(20);
    grdContacts->horizontalHeader()->setStretchLastSection(true);
    m_pModel->SetDataSet(m_pRecipients.get());
    m_pModel->SetSelectionModel(grdContacts->selectionModel());
    edtSearch = new QLineEdit(this);
    edtSearch->setObjectName(QStringLiteral("edtSearch"));
    edtSearch->setPlaceholderText(QStringLiteral("Search"));
    connect(edtSearch, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!text.isEmpty() && m_pRecipients->Active())
            m_pRecipients->Locate(QStringLiteral("FirstName"), text,
                                  TDataSet::CaseInsensitive | TDataSet::PartialKey);
    });

    lblSelected = new QLabel(QStringLiteral("Selected"), this);
    lblSelected->setObjectName(QStringLiteral("lblSelected"));
    QFont bold = lblSelected->font();
    bold.setBold(true);
    lblSelected->setFont(bold);
    grdSelected = new QTableWidget(0, 2, this);
    grdSelected->setObjectName(QStringLiteral("grdSelected"));
    grdSelected->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Mobile")});
    grdSelected->verticalHeader()->hide();
    grdSelected->horizontalHeader()->setStretchLastSection(true);

    btnAdd = new QPushButton(QStringLiteral("->"), this);
    btnAdd->setObjectName(QStringLiteral("btnAdd"));
    btnRemove = new QPushButton(QStringLiteral("<-"), this);
    btnRemove->setObjectName(QStringLiteral("btnRemove"));
    for (QPushButton* arrow : {btnAdd, btnRemove}) {
        arrow->setFixedWidth(32);
        arrow->setAutoDefault(false);
    }
    btnDone = new QPushButton(QStringLiteral("Done"), this);
    btnDone->setObjectName(QStringLiteral("btnDone"));
    btnDone->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    connect(btnDone, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(lblContacts);
    left->addWidget(grdContacts, 1);
    left->addWidget(edtSearch);
    auto* arrows = new QVBoxLayout;
    arrows->addStretch();
    arrows->addWidget(btnAdd);
    arrows->addWidget(btnRemove);
    arrows->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(lblSelected);
    right->addWidget(grdSelected, 1);
    auto* panels = new QHBoxLayout;
    panels->addLayout(left, 3);
    panels->addLayout(arrows);
    panels->addLayout(right, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnDone);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panels, 1);
    layout->addLayout(buttons);
    resize(700, 380);
}

TfrmRecipients::~TfrmRecipients() {
    // The grid lets go of the query before it goes.
    m_pModel->SetDataSet(nullptr);
}

void TfrmRecipients::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_pDataModule || m_pRecipients->Active())
        return;
    try {
        m_pDataModule->OpenDataSet(m_pRecipients.get());
    } catch (const EError& e) {
        ShowError("%s", e.Message());
        return;
    }
    // Name, surname and number first, each as wide as what it shows; the
    // company takes the rest.
    QHeaderView* header = grdContacts->horizontalHeader();
    int place = 0;
    for (const char* field : {"FirstName", "LastName", "Cell", "CompanyName"}) {
        const int column = m_pModel->ColumnOf(QLatin1String(field));
        if (column < 0)
            continue;
        header->moveSection(header->visualIndex(column), place++);
        if (place < 4) {
            grdContacts->resizeColumnToContents(column);
            grdContacts->setColumnWidth(column, grdContacts->columnWidth(column) + 12);
        }
    }
}
