#pragma once

// The address book that the import reads contacts from: a vCard file that the
// user's contacts program exported, chosen by the user and kept in the
// settings store. It is offered in the layout of an address book container:
// a contents table of rows (each with the entry ID of its contact and the
// contact's e-mail address), and the contacts themselves, opened by entry ID,
// with their properties under the property tags below.
//
// Each card of the file is one row and one contact:
//  - the row: PR_ENTRYID, then PR_EMAIL_ADDRESS from EMAIL (the preferred
//    one, else the first);
//  - the contact: PR_COMPANY_NAME from the first part of ORG, PR_GIVEN_NAME
//    and PR_SURNAME from N, PR_BUSINESS_TELEPHONE_NUMBER from a work voice
//    TEL (WORK with VOICE or no other kind), PR_BUSINESS_FAX_NUMBER from a
//    work fax TEL, PR_MOBILE_TELEPHONE_NUMBER from a cell TEL (the preferred
//    one of a kind, else the first; a "tel:" prefix goes).
// Values are trimmed; a property whose value is empty is left out.

#include <QByteArray>
#include <QList>
#include <QString>

namespace UWAB {

using TPropTag = quint32;

inline constexpr TPropTag PR_ENTRYID = 0x0FFF0102;
inline constexpr TPropTag PR_EMAIL_ADDRESS = 0x3003001E;
inline constexpr TPropTag PR_COMPANY_NAME = 0x3A16001E;
inline constexpr TPropTag PR_GIVEN_NAME = 0x3A06001E;
inline constexpr TPropTag PR_SURNAME = 0x3A11001E;
inline constexpr TPropTag PR_BUSINESS_TELEPHONE_NUMBER = 0x3A08001E;
inline constexpr TPropTag PR_MOBILE_TELEPHONE_NUMBER = 0x3A1C001E;
inline constexpr TPropTag PR_BUSINESS_FAX_NUMBER = 0x3A24001E;

// Object types of opened entries.
inline constexpr int MAPI_ABCONT = 4;
inline constexpr int MAPI_MAILUSER = 6;

struct TProperty {
    TPropTag Tag = 0;
    QString Value;
};
using TProperties = QList<TProperty>;

// A row of the container's contents table.
struct TRow {
    TProperties Props;
};

// An entry of the container, opened by its entry ID.
struct TEntry {
    int ObjectType = MAPI_MAILUSER;
    TProperties Props;
};

// What the address book holds: one row and one entry per card, in the
// file's order. A row's PR_ENTRYID is the number of its entry.
struct TContainer {
    QList<TRow> Rows;
    QList<TEntry> Entries;
};

// The container of the vCard file's bytes (also for tests).
TContainer ContainerOfVCards(const QByteArray& data);

} // namespace UWAB

class CWABAccess {
public:
    // The settings store's value that keeps the address book file.
    static constexpr char AddressBookFileValue[] = "AddressBookFile";

    // Takes the address book file kept in the settings store (none when
    // nothing was kept yet).
    CWABAccess();
    virtual ~CWABAccess();
    CWABAccess(const CWABAccess&) = delete;
    CWABAccess& operator=(const CWABAccess&) = delete;

    const QString& AddressBookFile() const { return m_sFileName; }
    void SetAddressBookFile(const QString& fileName) { m_sFileName = fileName; }

    // Asks for the address book file in an open-file dialog, offering the one
    // chosen last, and keeps the choice in the settings store. False when the
    // user cancels; nothing changes then.
    bool ChooseAddressBookFile();

    // The address book's contents, read from the file afresh. Raises "Unable
    // to open address book: ..." when no file was chosen, the file is missing
    // or cannot be read, or it holds no vCard.
    UWAB::TContainer GetDefaultContainer() const;

    // The entry of `entryId` (a row's PR_ENTRYID) in `container`; raises
    // "Unable to open address book entry" for an ID it does not hold.
    static const UWAB::TEntry& OpenEntry(const UWAB::TContainer& container, const QString& entryId);

private:
    QString m_sFileName;
};
