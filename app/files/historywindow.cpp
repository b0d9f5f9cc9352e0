#include "app/files/historywindow.h"

#include "keypad/keypadfileload.h"
#include "model/translation.h"

#include <QDialogButtonBox>
#include <QFutureWatcher>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent>

namespace {

QVector<HistoryWindow::Loaded> readEntries(const ConfigurationHistory &history)
{
    QVector<HistoryWindow::Loaded> all;
    for (const QString &folder : history.keypadFolders()) {
        for (const HistoryEntry &entry : history.entries(folder)) {
            const LoadedKeypadFile read = loadKeypadFile(entry.path);
            all.append({entry, folder, read.file, read.problem});
        }
    }
    std::stable_sort(all.begin(), all.end(), [](const auto &a, const auto &b) {
        return a.entry.kept > b.entry.kept;
    });
    return all;
}

QString keypadText(const KeypadFileSource &source)
{
    return QStringLiteral("%1 %2:%3")
        .arg(source.family)
        .arg(source.vendorId, 4, 16, QLatin1Char('0'))
        .arg(source.productId, 4, 16, QLatin1Char('0'));
}

} // namespace

HistoryWindow::HistoryWindow(const ConfigurationHistory &history, bool turnedOff, Hooks hooks,
                             QWidget *parent)
    : QDialog(parent), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("historyWindow"));
    setWindowTitle(translateText("History of configurations"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_intro = new QLabel(this);
    m_intro->setWordWrap(true);
    m_intro->setText(
        turnedOff
            ? translateText(
                "The history is turned off in Config.ini (history = off): nothing new is kept.")
            : translateText(
                  "Before each write, Zentrik keeps what the keypad held: the last %1 for each "
                  "keypad.")
                  .arg(ConfigurationHistory::kKeptPerKeypad));

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("historyList"));
    m_list->setAccessibleName(translateText("History of configurations"));
    m_list->setHeaderLabels({translateText("Kept"), translateText("Keypad"),
                             translateText("Written next by"), translateText("Changes")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(2, QHeaderView::Stretch);
    m_list->header()->setStretchLastSection(false);

    auto *changesLabel = new QLabel(translateText("Restoring it changes:"), this);
    m_changes = new QPlainTextEdit(this);
    m_changes->setObjectName(QStringLiteral("historyChanges"));
    m_changes->setAccessibleName(translateText("Restoring it changes:"));
    m_changes->setReadOnly(true);
    changesLabel->setBuddy(m_changes);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(translateText("Close"));
    m_restore = buttons->addButton(translateText("Restore…"), QDialogButtonBox::ActionRole);
    m_restore->setObjectName(QStringLiteral("historyRestore"));
    m_restore->setEnabled(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_restore, &QPushButton::clicked, this, [this] {
        const int row = m_list->currentIndex().row();
        if (row < 0 || row >= m_entries.size() || !m_entries[row].file)
            return;
        const QString path = m_entries[row].entry.path;
        accept();
        m_hooks.restore(path);
    });
    connect(m_list, &QTreeWidget::currentItemChanged, this, &HistoryWindow::showChosen);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_intro);
    layout->addWidget(m_list, 3);
    layout->addWidget(changesLabel);
    layout->addWidget(m_changes, 2);
    layout->addWidget(buttons);
    resize(640, 420);

    auto *watcher = new QFutureWatcher<QVector<Loaded>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        showLoaded(watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run([history] { return readEntries(history); }));
}

void HistoryWindow::showLoaded(const QVector<Loaded> &entries)
{
    m_entries = entries;
    const QString connected = m_hooks.connectedFolder();
    const std::optional<KeypadFile> now = connected.isEmpty() ? std::nullopt : m_hooks.heldNow();
    for (int i = 0; i < m_entries.size(); ++i) {
        const Loaded &item = m_entries[i];
        // Against the entry kept after this one of the same keypad, or for
        // the newest, against what that keypad holds now.
        const KeypadFile *next = nullptr;
        for (int j = i - 1; j >= 0 && !next; --j)
            if (m_entries[j].folder == item.folder && m_entries[j].file)
                next = &*m_entries[j].file;
        if (!next && now && item.folder == connected)
            next = &*now;
        QString changes = QStringLiteral("–");
        if (!item.file)
            changes = translateText("Cannot be read");
        else if (next)
            changes = QString::number(historyDifferenceCount(*item.file, *next));
        auto *row = new QTreeWidgetItem(
            m_list, {item.entry.kept.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                     item.file ? keypadText(item.file->source) : item.folder,
                     historyWriterText(item.entry.writer), changes});
        row->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (m_entries.isEmpty())
        m_changes->setPlainText(
            translateText("Nothing kept yet: an entry is kept before each save."));
    else
        m_list->setCurrentItem(m_list->topLevelItem(0));
    emit loaded();
}

void HistoryWindow::showChosen()
{
    const int row = m_list->currentIndex().row();
    if (row < 0 || row >= m_entries.size())
        return;
    const Loaded &item = m_entries[row];
    const bool connected = !m_hooks.connectedFolder().isEmpty();
    m_restore->setEnabled(connected && item.file.has_value());
    if (!item.file) {
        m_changes->setPlainText(item.problem);
        return;
    }
    if (!connected) {
        m_changes->setPlainText(translateText("Connect the keypad to restore an entry."));
        return;
    }
    const QStringList changes = m_hooks.changesOnKeypad(*item.file);
    m_changes->setPlainText(changes.isEmpty() ? translateText("The keypad holds this entry.")
                                              : changes.join(QLatin1Char('\n')));
}
