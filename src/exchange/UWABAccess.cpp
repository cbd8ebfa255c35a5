#include "exchange/UWABAccess.h"

#include "exchange/UVCardReader.h"
#include "shell/UDialogs.h"
#include "shell/UErrors.h"
#include "shell/USettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

using namespace UWAB;

const QString Kinds[] = {
    QStringLiteral("FAX"),   QStringLiteral("CELL"), QStringLiteral("PAGER"),
    QStringLiteral("VIDEO"), QStringLiteral("TEXT"), QStringLiteral("TEXTPHONE"),
    QStringLiteral("MODEM"), QStringLiteral("ISDN"), QStringLiteral("BBS"),
    QStringLiteral("CAR"),   QStringLiteral("MSG")};

bool IsVoice(const TVCardProperty& tel) {
    if (tel.HasType(QStringLiteral("VOICE")))
        return true;
    for (const QString& kind : Kinds) {
        if (tel.HasType(kind))
            return false;
    }
    return true;
}

// The values of one card by tag: the preferred property of a kind, else the
// first.
class TCardValues {
public:
    void Offer(TPropTag tag, const TVCardProperty& property, QString value) {
        value = value.trimmed();
        if (value.isEmpty())
            return;
        const bool preferred = property.HasType(QStringLiteral("PREF"));
        for (TChoice& choice : m_Choices) {
            if (choice.Tag != tag)
                continue;
            if (preferred && !choice.Preferred)
                choice = {tag, value, true};
            return;
        }
        m_Choices.append({tag, value, preferred});
    }

    // The chosen values of `tags`, in that order.
    TProperties Properties(std::initializer_list<TPropTag> tags) const {
        TProperties properties;
        for (TPropTag tag : tags) {
            for (const TChoice& choice : m_Choices) {
                if (choice.Tag == tag)
                    properties.append({tag, choice.Value});
            }
        }
        return properties;
    }

private:
    struct TChoice {
        TPropTag Tag;
        QString Value;
        bool Preferred;
    };
    QList<TChoice> m_Choices;
};

TCardValues ValuesOf(const TVCard& card) {
    TCardValues values;
    for (const TVCardProperty& property : card.Properties) {
        if (property.Name == QLatin1String("EMAIL")) {
            values.Offer(PR_EMAIL_ADDRESS, property, property.Text());
        } else if (property.Name == QLatin1String("ORG")) {
            values.Offer(PR_COMPANY_NAME, property, property.Components().value(0));
        } else if (property.Name == QLatin1String("N")) {
            const QStringList parts = property.Components();
            values.Offer(PR_SURNAME, property, parts.value(0));
            values.Offer(PR_GIVEN_NAME, property, parts.value(1));
        } else if (property.Name == QLatin1String("TEL")) {
            QString number = property.Text().trimmed();
            if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
                number = number.mid(4);
            const bool work = property.HasType(QStringLiteral("WORK"));
            if (property.HasType(QStringLiteral("CELL")))
                values.Offer(PR_MOBILE_TELEPHONE_NUMBER, property, number);
            else if (work && property.HasType(QStringLiteral("FAX")))
                values.Offer(PR_BUSINESS_FAX_NUMBER, property, number);
            else if (work && IsVoice(property))
                values.Offer(PR_BUSINESS_TELEPHONE_NUMBER, property, number);
        }
    }
    return values;
}

[[noreturn]] void CannotOpen(const QString& reason) {
    UErrors::RaiseError(QStringLiteral("Unable to open address book: ") + reason);
}

} // namespace

UWAB::TContainer UWAB::ContainerOfVCards(const QByteArray& data) {
    TContainer container;
    for (const TVCard& card : ReadVCards(data)) {
        const TCardValues values = ValuesOf(card);
        TRow row;
        row.Props.append({PR_ENTRYID, QString::number(container.Entries.size())});
        row.Props.append(values.Properties({PR_EMAIL_ADDRESS}));
        container.Rows.append(row);
        container.Entries.append(
            {MAPI_MAILUSER, values.Properties({PR_COMPANY_NAME, PR_GIVEN_NAME, PR_SURNAME,
                                               PR_BUSINESS_TELEPHONE_NUMBER, PR_BUSINESS_FAX_NUMBER,
                                               PR_MOBILE_TELEPHONE_NUMBER})});
    }
    return container;
}

CWABAccess::CWABAccess() {
    OpenSettingsStore();
    try {
        m_sFileName = LoadParameter(QLatin1String(AddressBookFileValue), {}, false, false);
    } catch (const EError&) {
        // Nothing kept yet: the user is asked.
    }
    CloseSettingsStore();
}

CWABAccess::~CWABAccess() = default;

bool CWABAccess::ChooseAddressBookFile() {
    const QString fileName =
        Dialogs().OpenFileName(QStringLiteral("Choose the address book file"), m_sFileName,
                               QStringLiteral("vCard files (*.vcf *.vcard);;All files (*)"));
    if (fileName.isEmpty())
        return false;
    m_sFileName = fileName;
    OpenSettingsStore();
    try {
        SaveParameter(QLatin1String(AddressBookFileValue), fileName, {}, false, false);
    } catch (...) {
        CloseSettingsStore();
        throw;
    }
    CloseSettingsStore();
    return true;
}

UWAB::TContainer CWABAccess::GetDefaultContainer() const {
    if (m_sFileName.isEmpty())
        CannotOpen(QStringLiteral("No address book file chosen."));
    const QString shown = QDir::toNativeSeparators(m_sFileName);
    const QFileInfo info(m_sFileName);
    if (!info.exists())
        CannotOpen(QStringLiteral("File '%1' not found.").arg(shown));
    QFile file(m_sFileName);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        CannotOpen(QStringLiteral("Unable to read file '%1'.").arg(shown));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        CannotOpen(QStringLiteral("Unable to read file '%1'.").arg(shown));
    UWAB::TContainer container = UWAB::ContainerOfVCards(data);
    if (container.Rows.isEmpty() && !data.toUpper().contains("BEGIN:VCARD"))
        CannotOpen(QStringLiteral("'%1' is not a vCard file.").arg(shown));
    return container;
}

const UWAB::TEntry& CWABAccess::OpenEntry(const UWAB::TContainer& container,
                                          const QString& entryId) {
    bool ok = false;
    const int index = entryId.toInt(&ok);
    if (!ok || index < 0 || index >= container.Entries.size())
        ThrowError("Unable to open address book entry");
    return container.Entries[index];
}
