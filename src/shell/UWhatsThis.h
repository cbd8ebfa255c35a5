#pragma once

// The "What's This?" texts of every window's controls, kept in one text file
// beside the program ("help/whatsthis.txt") and given to the controls by
// their object names as the windows are built.
//
// The file: a line "[frmCallEdtr]" starts the texts of a window (named as
// its class, without the leading T; "[*]" the texts of any window), then
// lines "objectName=text". A text is one line; "\n" in it breaks the line.
// Blank lines and lines starting with '#' are left out.
//
// A control's text is looked up under its window (the nearest object,
// itself included, whose class or a base class of it is a "Tfrm..." window
// class), trying the window's class first and then its base window classes,
// then among the texts of any window.

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

class QAction;
class QWidget;

class TWhatsThisTexts {
public:
    TWhatsThisTexts() = default;

    // The texts of the file `fileName`; none when it cannot be read.
    static TWhatsThisTexts FromFile(const QString& fileName);

    // Adds the texts of `text`, in the file's form. Returns the lines that
    // could not be read or that repeat a name, as "line N: ...".
    QStringList Parse(const QString& text);

    // The text for `object` (a widget or an action) as the file gives it;
    // empty when it gives none or the object has no name.
    QString TextFor(const QObject* object) const;

    // The window names `object` is looked up under, nearest class first
    // ("frmCallEdtr", "frmBaseEditor"); empty outside any window.
    static QStringList WindowNames(const QObject* object);

    int Count() const { return int(m_Texts.size()); }

private:
    QHash<QString, QString> m_Texts; // "frmX/name", or "name" for any window
};

// Gives every widget, and every action of a widget, that has no What's This
// text yet the text the table holds for it, when the widget is polished
// (before it is first shown) and again when it is shown; a window's polish
// and show do so for everything in it. While it exists it watches the whole
// application.
class TWhatsThisFilter : public QObject {
    Q_OBJECT
public:
    explicit TWhatsThisFilter(TWhatsThisTexts texts, QObject* parent = nullptr);
    ~TWhatsThisFilter() override;

    const TWhatsThisTexts& Texts() const { return m_Texts; }

    // Gives `widget` and its own actions their texts (those that have none).
    void Apply(QWidget* widget) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TWhatsThisTexts m_Texts;
};
