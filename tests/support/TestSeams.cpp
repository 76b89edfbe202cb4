#include "Tests.h"
#include "core/files/Cp1252.h"
#include "gui/listwindow/StockTableModel.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QCursor>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QMap>
#include <QPointer>
#include <QWheelEvent>
#include <QWindow>

#include <memory>

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write the test file %s", qPrintable(path));
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

MsgAnswer ScriptedMessageBoxes::ask(const MessageRequest &request)
{
    m_shown.append(request);
    if (request.buttons == MsgButtons::Ok)
        return MsgAnswer::Ok;
    return m_answers.isEmpty() ? MsgAnswer::No : m_answers.takeFirst();
}

void ScriptedTextPrompt::answer(TextPrompt &box)
{
    asked.append(box.entry()->text());
    const auto [text, cancel] = m_answers.isEmpty() ? std::pair{QString(), true} : m_answers.takeFirst();
    box.entry()->selectAll(); // typed over the default, under the box's rules
    box.entry()->insert(text);
    box.press(cancel ? TextPrompt::Button::Cancel : TextPrompt::Button::Ok);
}

void RecordingReportOutput::record(const ReportPage &page, bool preview)
{
    const QCursor *cursor = QGuiApplication::overrideCursor();
    pages.append({preview, page, cursor && cursor->shape() == Qt::WaitCursor});
}

TestSeams::TestSeams()
{
    Platform::setReportOutput(&reports);
    Platform::setProgramDirectory(&directory);
    Platform::setTodaySource(&today);
    Platform::setMessageBoxes(&messages);
    Platform::setKeyClock(&keys);
}

TestSeams::~TestSeams()
{
    Platform::setProgramDirectory(nullptr);
    Platform::setTodaySource(nullptr);
    Platform::setMessageBoxes(nullptr);
    Platform::setReportOutput(nullptr);
    Platform::setKeyClock(nullptr);
}

void TestSeams::installTemplate()
{
    QFile source(QStringLiteral(VELLORIN_DATA_DIR "/Impression.json"));
    if (!source.open(QIODevice::ReadOnly))
        qFatal("the report template is missing from the sources");
    directory.write(QStringLiteral("Impression.json"), source.readAll());
}

QString boxOf(const MessageRequest &request)
{
    static const char *const icons[] = {"exclamation", "question", "information", "critical"};
    return QStringLiteral("%1 | %2 | %3")
        .arg(request.title, QLatin1String(icons[int(request.icon)]),
             request.buttons == MsgButtons::Ok ? QStringLiteral("OK") : QStringLiteral("Oui/Non"));
}

QByteArray cp1252(const QString &text)
{
    QByteArray bytes;
    if (!Cp1252::encode(text, &bytes))
        qFatal("test text outside windows-1252");
    return bytes;
}

QObject *whenModalOpens(std::function<void(QWidget *)> action)
{
    auto *timer = new QTimer;
    auto deadline = std::make_shared<QDeadlineTimer>(5000);
    QWidget *before = QApplication::activeModalWidget();
    QObject::connect(timer, &QTimer::timeout, [timer, deadline, before, action = std::move(action)] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal != before && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (deadline->hasExpired()) {
            timer->stop();
            timer->deleteLater();
            qWarning("no modal window opened");
        }
    });
    timer->start(10);
    return timer;
}

void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void press(QWidget *widget, const QStringList &keys)
{
    // clang-format off
    static const QMap<QString, Qt::Key> named = {
        {"Enter", Qt::Key_Return}, {"Tab", Qt::Key_Tab}, {"Backtab", Qt::Key_Backtab}, {"Backspace", Qt::Key_Backspace},
        {"Delete", Qt::Key_Delete}, {"End", Qt::Key_End}, {"Home", Qt::Key_Home}, {"Down", Qt::Key_Down},
        {"Up", Qt::Key_Up}, {"PageDown", Qt::Key_PageDown}, {"Escape", Qt::Key_Escape}, {"Alt+Down", Qt::Key_Down}};
    // clang-format on
    for (const QString &k : keys) {
        // An open list (a combo box's) takes the keys while it shows.
        QWidget *to = widget;
        if (QWidget *popup = QApplication::activePopupWidget())
            to = popup->focusWidget() ? popup->focusWidget() : popup;
        if (named.contains(k)) {
            const Qt::KeyboardModifiers modifiers = k == QLatin1String("Backtab")    ? Qt::ShiftModifier
                                                    : k == QLatin1String("Alt+Down") ? Qt::AltModifier
                                                                                     : Qt::NoModifier;
            QTest::keyClick(to, named.value(k), modifiers);
        } else if (k.startsWith(QLatin1String("Pick:"))) {
            // A click on an entry of the open list.
            auto *view = QApplication::activePopupWidget()->findChild<QAbstractItemView *>();
            const QModelIndexList found = view->model()->match(view->model()->index(0, 0), Qt::DisplayRole,
                                                               k.mid(5), 1, Qt::MatchExactly);
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                              view->visualRect(found.value(0)).center());
            // As a desktop would, the window under the list is active again once it closes.
            widget->window()->activateWindow();
        } else if (k == QLatin1String("Wheel")) { // one notch down, over the middle of the control
            const QPointF at = QRectF(to->rect()).center();
            QWheelEvent wheel(at, to->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, {}, Qt::NoScrollPhase,
                              false);
            QApplication::sendEvent(to, &wheel);
        } else if (k.startsWith(QLatin1String("IME:"))) { // a dead key or an input method's text
            QInputMethodEvent input;
            input.setCommitString(k.mid(4));
            QApplication::sendEvent(to, &input);
        } else if (k.startsWith(QLatin1String("Paste:"))) {
            QGuiApplication::clipboard()->setText(k.mid(6));
            QTest::keySequence(widget, QKeySequence::Paste);
        } else {
            typeText(widget, k);
        }
    }
}

QString medicine(const QString &name, const QString &expiry, const QString &quantity,
                 const QString &threshold, const QString &indispensable)
{
    return composeRecord(name, u"Orale", u"Comprimé", quantity, expiry, threshold, indispensable);
}

QStringList medicines(int count, const QString &expiry)
{
    QStringList lines;
    for (int n = 1; n <= count; ++n)
        lines << medicine(QStringLiteral("Médicament %1").arg(n, 3, 10, QLatin1Char('0')), expiry);
    return lines;
}

QByteArray fileOf(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += cp1252(line) + "\r\n";
    return bytes;
}

StockFixture::StockFixture(const QStringList &lines)
{
    seams.directory.write(kStockFileName, fileOf(lines));
    seams.directory.write(QStringLiteral("Pharma_Forme.dat"),
                          cp1252(QStringLiteral("Orale\r\nCutanée\r\nRectale\r\n")));
    seams.directory.write(QStringLiteral("Pharma_Type.dat"),
                          cp1252(QStringLiteral("Comprimé\r\nSachet\r\n")));
    form = std::make_unique<StockListWindow>();
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        qWarning("the list window did not show");
}

QByteArray StockFixture::stockBytes() const
{
    return seams.directory.read(kStockFileName);
}

void StockFixture::chooseRow(const QString &name)
{
    ReportListView *view = form->table();
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        const QModelIndex index = view->model()->index(row, StockTableModel::Name);
        if (index.data().toString() == name) {
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
            return;
        }
    }
    qWarning("no row shows %s", qPrintable(name));
}

void StockFixture::click(const QString &button)
{
    QTest::mouseClick(form->findChild<QToolButton *>(button), Qt::LeftButton);
}

bool StockFixture::runEditor(const QString &button, const std::function<void(MedicineEditor *)> &act,
                             bool *stayedOpen)
{
    bool opened = false;
    QPointer<QObject> watch = whenModalOpens([&](QWidget *window) {
        auto *editor = qobject_cast<MedicineEditor *>(window);
        if (!editor)
            return;
        opened = true;
        QTRY_VERIFY(editor->isActiveWindow());
        act(editor);
        const bool open = editor->isVisible();
        if (stayedOpen)
            *stayedOpen = open;
        if (open)
            editor->close();
    });
    click(button);
    // The command may end without an editor (a question answered No): stop watching,
    // or the watch would act on a later test's window.
    delete watch.data();
    return opened;
}

void clickThroughWindow(QWidget *target)
{
    QWidget *window = target->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      target->mapTo(window, target->rect().center()));
}

void prepareTestApplication(QApplication &app)
{
    QApplication::setAttribute(Qt::AA_Use96Dpi, true);
    prepareApplication(app);
}
