#include "shell/UWhatsThis.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QWidget>

TWhatsThisTexts TWhatsThisTexts::FromFile(const QString& fileName) {
    TWhatsThisTexts texts;
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text))
        texts.Parse(QString::fromUtf8(file.readAll()));
    return texts;
}

QStringList TWhatsThisTexts::Parse(const QString& text) {
    QStringList problems;
    QString window;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const auto problem = [&](const QString& what) {
            problems << QStringLiteral("line %1: %2").arg(i + 1).arg(what);
        };
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            window = line.mid(1, line.size() - 2).trimmed();
            if (window == QLatin1String("*"))
                window.clear();
            else if (window.isEmpty())
                problem(QStringLiteral("a window without a name"));
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const QString name = line.left(equals).trimmed();
        QString value = line.mid(equals + 1).trimmed();
        if (equals <= 0 || name.isEmpty() || value.isEmpty() || name.contains(QLatin1Char(' '))) {
            problem(QStringLiteral("not \"name=text\": ") + line);
            continue;
        }
        value.replace(QLatin1String("\\n"), QLatin1String("\n"));
        const QString key = window.isEmpty() ? name : window + QLatin1Char('/') + name;
        if (m_Texts.contains(key))
            problem(QStringLiteral("a second text for ") + key);
        m_Texts.insert(key, value);
    }
    return problems;
}

QStringList TWhatsThisTexts::WindowNames(const QObject* object) {
    for (const QObject* o = object; o; o = o->parent()) {
        QStringList names;
        for (const QMetaObject* meta = o->metaObject(); meta; meta = meta->superClass()) {
            const QLatin1String name(meta->className());
            if (name.startsWith(QLatin1String("Tfrm")))
                names << QString(name.mid(1));
        }
        if (!names.isEmpty())
            return names;
    }
    return {};
}

QString TWhatsThisTexts::TextFor(const QObject* object) const {
    if (!object || m_Texts.isEmpty())
        return {};
    const QString name = object->objectName();
    if (name.isEmpty())
        return {};
    for (const QString& window : WindowNames(object)) {
        const auto found = m_Texts.constFind(window + QLatin1Char('/') + name);
        if (found != m_Texts.cend())
            return *found;
    }
    return m_Texts.value(name);
}

TWhatsThisFilter::TWhatsThisFilter(TWhatsThisTexts texts, QObject* parent)
    : QObject(parent), m_Texts(std::move(texts)) {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

TWhatsThisFilter::~TWhatsThisFilter() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

void TWhatsThisFilter::Apply(QWidget* widget) const {
    if (!widget)
        return;
    if (widget->whatsThis().isEmpty()) {
        const QString text = m_Texts.TextFor(widget);
        if (!text.isEmpty())
            widget->setWhatsThis(text);
    }
    for (QAction* action : widget->findChildren<QAction*>(Qt::FindDirectChildrenOnly)) {
        if (!action->whatsThis().isEmpty())
            continue;
        const QString text = m_Texts.TextFor(action);
        if (!text.isEmpty())
            action->setWhatsThis(text);
    }
}

bool TWhatsThisFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::Polish || type == QEvent::Show) && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        Apply(widget);
        // A control can be polished while it is made, before it has its name
        // or before its window is whole (a layout that measures it); the
        // window's own polish, before it is first shown, looks at them again.
        if (widget->isWindow()) {
            for (QWidget* child : widget->findChildren<QWidget*>())
                Apply(child);
        }
    }
    return QObject::eventFilter(watched, event);
}
