// Fuzzing the vCard reader of the address-book import: any bytes give cards
// (perhaps none) and an address book of one row and one contact per card,
// each row naming its own contact, with no empty or untrimmed value; a
// crash, a sanitizer's report, a hang or a broken rule is a fault.

#include "exchange/UVCardReader.h"
#include "exchange/UWABAccess.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void CheckValues(const UWAB::TProperties& properties) {
    for (const UWAB::TProperty& property : properties) {
        if (property.Tag != UWAB::PR_ENTRYID)
            Check(!property.Value.isEmpty() && property.Value.trimmed() == property.Value);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<TVCard> cards = ReadVCards(bytes);
    for (const TVCard& card : cards) {
        for (const TVCardProperty& property : card.Properties) {
            Check(!property.Name.isEmpty());
            Check(property.Text().size() <= property.Value.size());
            Check(!property.Components().isEmpty());
        }
    }
    const UWAB::TContainer container = UWAB::ContainerOfVCards(bytes);
    Check(container.Rows.size() == cards.size() && container.Entries.size() == cards.size());
    for (qsizetype i = 0; i < container.Rows.size(); ++i) {
        const UWAB::TProperties& row = container.Rows[i].Props;
        Check(!row.isEmpty() && row.first().Tag == UWAB::PR_ENTRYID);
        Check(&CWABAccess::OpenEntry(container, row.first().Value) == &container.Entries[i]);
        CheckValues(row);
        CheckValues(container.Entries[i].Props);
    }
    return 0;
}
