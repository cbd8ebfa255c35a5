#pragma once

// Reads the cards of a vCard file, the form in which contacts programs export
// their address books: versions 2.1, 3.0 and 4.0, any number of cards.
//
// What is understood:
//  - lines ending in CR LF, LF or CR; a UTF-8 byte-order mark; a file in
//    UTF-16 with its byte-order mark;
//  - folded lines (a line that begins with a space or a tab continues the one
//    before it, without that first blank) and the soft line breaks of
//    quoted-printable values (a line ending in "=");
//  - groups ("item1.EMAIL"), names and parameter names in any letter case;
//  - parameters: TYPE lists ("TYPE=WORK,VOICE", "TYPE=cell", repeated TYPE
//    parameters, quoted lists "TYPE=\"work,voice\""), the bare types of 2.1
//    ("TEL;WORK;FAX"), PREF=n, CHARSET and ENCODING=QUOTED-PRINTABLE (or the
//    bare "QUOTED-PRINTABLE");
//  - values: quoted-printable decoded, then read in the parameter's
//    character set, else as UTF-8 when they are valid UTF-8, else as
//    Latin-1.
// Cards nested in a card (the AGENT of 2.1) are passed over with their
// properties; lines outside a card are ignored, and a card that the file
// does not end is taken as it stands.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct TVCardProperty {
    QString Name;      // upper case, without its group: "TEL"
    QStringList Types; // upper case: "WORK", "VOICE", "CELL"; "PREF" when preferred
    QString Value;     // decoded, with its backslash escapes still in place

    bool HasType(const QString& type) const { return Types.contains(type); }
    // The value with its escapes resolved ("\," "\;" "\\" "\n").
    QString Text() const;
    // The parts of a structured value (N, ORG), split at the semicolons that
    // are not escaped, each with its escapes resolved.
    QStringList Components() const;
};

struct TVCard {
    QList<TVCardProperty> Properties;

    // The first property of that name; nullptr when the card has none.
    const TVCardProperty* Find(const QString& name) const;
};

// The cards of the file's bytes, in order. Text that holds no card gives an
// empty list; nothing raises.
QList<TVCard> ReadVCards(const QByteArray& data);
