#pragma once

// The editor of one representative of a customer (a contact person), opened
// from the customer editor's Representatives page. It works on the data
// module's representatives query, which lists the customer being edited.

#include "editors/FBaseEditor.h"

class TdmlGlobals;
class TDBEdit;

class TfrmReprEditor : public TfrmBaseEditor {
    Q_OBJECT
public:
    // Edits `dataModule`'s representatives query; without a module it has no
    // dataset.
    explicit TfrmReprEditor(TdmlGlobals* dataModule, QWidget* parent = nullptr);

    // A new representative needs a name or a surname; a changed one is taken
    // as it is.
    bool Validate() override;

    TDBEdit* edtName;
    TDBEdit* edtSurname;
    TDBEdit* edtCell;
    TDBEdit* edtEmail;
    // Never shown: the customer the representative belongs to.
    TDBEdit* edtFK;

protected:
    void showEvent(QShowEvent* event) override;
};

// The program's representative editor, set and cleared by TProgramWindows (UStartup);
// nullptr outside its lifetime.
extern TfrmReprEditor* frmReprEditor;
