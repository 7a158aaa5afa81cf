#include "review/reviewwindow.h"

#include "essay/essayfile.h"
#include "essay/essaynotes.h"
#include "essay/selfrating.h"
#include "essay/spellchecker.h"
#include "essay/usageslips.h"
#include "essay/wordcount.h"
#include "platform/product.h"
#include "review/essayfigures.h"
#include "review/essaylist.h"
#include "review/essaypdf.h"
#include "review/keypane.h"
#include "review/pacepane.h"
#include "review/progressview.h"
#include "review/ratingpane.h"
#include "review/reportview.h"
#include "review/usagepane.h"
#include "widgets/ui.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

#include <array>
#include <cmath>
#include <future>
#include <map>

namespace {

template <typename Control> Control* named(Control* control, const char* name, const QString& said)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setAccessibleName(said);
    return control;
}

QPlainTextEdit* makeReadingBox(const char* name, const QString& said)
{
    auto* box = named(new QPlainTextEdit, name, said);
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setTabChangesFocus(true);
    return box;
}

QString askWithFileDialog(QWidget* parent, const QString& suggested)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Save as PDF"), suggested,
                                        QStringLiteral("PDF files (*.pdf)"));
}

QString askCsvWithFileDialog(QWidget* parent, const QString& suggested)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Export figures"), suggested,
                                        QStringLiteral("CSV files (*.csv)"));
}

// Whether path names a file in the folder or below it, also through a link
// that lies elsewhere and points into it.
bool liesIn(const QString& path, const QString& folder)
{
    const QString inside = QDir(folder).canonicalPath();
    const QFileInfo file(path);
    const QString where = file.exists() ? QFileInfo(file.canonicalFilePath()).path()
                                        : file.absoluteDir().canonicalPath();
    return !inside.isEmpty() && (where == inside || where.startsWith(inside + QLatin1Char('/')));
}

// The dictionaries take a quarter of a second to open: once in a run, on a
// thread of their own while the window reads the essay files.
std::shared_future<std::shared_ptr<const SpellChecker>> programSpelling(const QString& appFolder)
{
    static std::map<QString, std::shared_future<std::shared_ptr<const SpellChecker>>> opened;
    auto& spelling = opened[appFolder];
    if (!spelling.valid()) {
        spelling = std::async(std::launch::async, [folders = SpellChecker::folders(appFolder)] {
                       return std::make_shared<const SpellChecker>(folders);
                   }).share();
    }
    return spelling;
}

} // namespace

ReviewWindow::ReviewWindow(Platform& platform, const QString& appFolder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      askPdfPath(askWithFileDialog), askCsvPath(askCsvWithFileDialog), platform_(platform),
      appFolder_(appFolder), userFolder_(appFolder + QStringLiteral("user")),
      essays_(new EssayList(this)), filter_(new EssayFilter(this)),
      spelling_(programSpelling(appFolder)), suggestions_(new QTimer(this))
{
    setObjectName(QStringLiteral("ReviewWindow"));
    setWindowTitle(QStringLiteral("Review - ") + Product::TitleWithVersion);
    setSizeGripEnabled(true);
    essays_->read(userFolder_, QLocale::system(), EssayList::Marks::Later);
    filter_->setSourceModel(essays_);
    createControls();
    // The notes hold years of timelines: the marks are read beside the window's opening.
    marksReading_ = std::async(std::launch::async, [this] {
        QList<RecordMarks> marks = essays_->readMarks();
        QMetaObject::invokeMethod(
            this,
            [this, marks = std::move(marks)] {
                essays_->setAllMarks(marks);
                marksRead_ = true;
                showMarks();
                if (views->currentIndex() == 1)
                    showProgress();
            },
            Qt::QueuedConnection);
    });
    countLabel->setText(essays_->summary());
    if (filter_->rowCount() > 0)
        essayList->setCurrentIndex(filter_->index(0, 0));
    essayChosen();
    essayList->setFocus(Qt::OtherFocusReason);
}

ReviewWindow::~ReviewWindow()
{
    // The counting thread reads the essays' texts, which go with the window.
    *closing_ = true;
    ++*searchNumber_;
    if (slipsCounting_.valid())
        slipsCounting_.wait();
    if (marksReading_.valid())
        marksReading_.wait();
    if (searching_.valid())
        searching_.wait();
}

void ReviewWindow::createControls()
{
    countLabel = named(new QLabel, "countLabel", QString());
    countLabel->setWordWrap(true);
    kindLabel = named(new QLabel(QStringLiteral("&Kind:")), "kindLabel", QString());
    kindFilter = named(new QComboBox, "kindFilter", QStringLiteral("Kind"));
    // Every kind, then each kind alone in the kinds' order.
    kindFilter->addItem(QStringLiteral("All kinds"));
    for (const KindFacts& kind : EssayKinds)
        kindFilter->addItem(QLatin1String(kind.name));
    kindLabel->setBuddy(kindFilter);
    searchLabel = named(new QLabel(QStringLiteral("&Search:")), "searchLabel", QString());
    searchBox = named(new QLineEdit, "searchBox", QStringLiteral("Search"));
    searchBox->setPlaceholderText(QStringLiteral("Words in the topic or the answer (Ctrl+F)"));
    searchBox->setClearButtonEnabled(true);
    searchLabel->setBuddy(searchBox);
    // One line, there whether or not a search is under way, so that the list
    // below never moves as the line comes and goes.
    foundLabel = named(new QLabel, "foundLabel", QString());
    foundLabel->setFixedHeight(foundLabel->fontMetrics().height());
    foundLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    topicLabel = named(new QLabel, "topicLabel", QString());
    allTopicsButton = named(new QPushButton(QStringLiteral("&All topics")), "allTopicsButton",
                            QStringLiteral("All topics"));
    allTopicsButton->setAutoDefault(false);
    exportButton = named(new QPushButton(QStringLiteral("E&xport figures...")), "exportButton",
                         QStringLiteral("Export figures..."));
    exportButton->setAutoDefault(false);
    exportButton->setToolTip(QStringLiteral("The figures of the essays listed, one row each, as "
                                            "a spreadsheet (CSV)"));
    topicLabel->hide();
    allTopicsButton->hide();

    essayList = named(new QTableView, "essayList", QStringLiteral("Essays"));
    essayList->setModel(filter_);
    essayList->setSelectionBehavior(QAbstractItemView::SelectRows);
    essayList->setSelectionMode(QAbstractItemView::SingleSelection);
    essayList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list; the arrow keys move in it.
    essayList->setTabKeyNavigation(false);
    essayList->setWordWrap(false);
    essayList->setAlternatingRowColors(true);
    essayList->verticalHeader()->hide();
    // Rows of one height and columns sized from the font, so that no row is
    // measured: the list opens at once whatever its length.
    const QFontMetrics metrics = essayList->fontMetrics();
    essayList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    essayList->verticalHeader()->setDefaultSectionSize(metrics.height() + 8);
    const QDateTime sample(QDate(2026, 12, 28), QTime(23, 59, 58));
    const std::array<QString, EssayList::AnswerColumn> widest{
        essays_->shownDate(sample.date()), recordTime(sample, QLocale::system()),
        QStringLiteral("Argument"), QStringLiteral("No.888"), QStringLiteral("Words88")};
    for (int column = 0; column < EssayList::AnswerColumn; ++column)
        essayList->setColumnWidth(column, metrics.horizontalAdvance(widest.at(column)) + 20);
    // The rating before the answer, which takes the rest of the row.
    essayList->setColumnWidth(EssayList::RatingColumn,
                              metrics.horizontalAdvance(QStringLiteral("4.5, left out")) + 20);
    essayList->horizontalHeader()->moveSection(EssayList::RatingColumn, EssayList::AnswerColumn);
    essayList->horizontalHeader()->setStretchLastSection(true);
    essayList->horizontalHeader()->setHighlightSections(false);
    // A click on a heading sorts by that column; newest first to begin with.
    filter_->setSortRole(EssayList::SortRole);
    essayList->horizontalHeader()->setSortIndicator(EssayList::DateColumn, Qt::DescendingOrder);
    essayList->setSortingEnabled(true);

    topicBox = makeReadingBox("topicBox", QStringLiteral("Topic"));
    answerBox = makeReadingBox("answerBox", QStringLiteral("Answer"));
    reportView = named(new QTextBrowser, "reportView", QStringLiteral("Report"));
    reportView->setOpenLinks(false);
    reportView->setTabChangesFocus(true);
    explainBox = named(new QCheckBox(QStringLiteral("Explain each &figure")), "explainBox",
                       QStringLiteral("Explain each figure"));
    explainBox->setToolTip(QStringLiteral("Writes under each figure what it counts; the pointer "
                                          "resting on a figure's name says it too"));
    wordsLabel = named(new QLabel, "wordsLabel", QString());

    writeAgainButton = named(new QPushButton(QStringLiteral("&Write this topic again")),
                             "writeAgainButton", QStringLiteral("Write this topic again"));
    savePdfButton = named(new QPushButton(QStringLiteral("Save as &PDF...")), "savePdfButton",
                          QStringLiteral("Save as PDF..."));
    closeButton =
        named(new QPushButton(QStringLiteral("&Close")), "closeButton", QStringLiteral("Close"));
    // No button is the default: Enter opens the essay in the list and presses
    // only a button that has the focus (keyPressEvent).
    for (QPushButton* button : {writeAgainButton, savePdfButton, closeButton})
        button->setAutoDefault(false);

    auto* filters = new QHBoxLayout;
    filters->addWidget(kindLabel);
    filters->addWidget(kindFilter);
    filters->addSpacing(16);
    filters->addWidget(searchLabel);
    filters->addWidget(searchBox, 1);
    filters->addWidget(topicLabel);
    filters->addWidget(allTopicsButton);
    filters->addWidget(exportButton);
    // One pane above another, each resizable; a taller window gives its room
    // to the answer and the report, which are what is read.
    // How the time went stands beside the report, so the report keeps its height.
    auto* reportAndPace = new QSplitter(Qt::Horizontal);
    reportAndPace->setObjectName(QStringLiteral("reportAndPace"));
    reportAndPace->setChildrenCollapsible(false);
    reportAndPace->addWidget(reportView);
    // The rating stands over how the time went, so the report keeps its height.
    auto* ratingAndPace = new QWidget;
    auto* ratingAndPaceLayout = new QVBoxLayout(ratingAndPace);
    ratingAndPaceLayout->setContentsMargins(4, 0, 0, 0);
    ratingAndPaceLayout->addWidget(ratingPane = new RatingPane);
    ratingAndPaceLayout->addWidget(pacePane = new PacePane, 1);
    reportAndPace->addWidget(ratingAndPace);
    reportAndPace->setStretchFactor(0, 3);
    reportAndPace->setStretchFactor(1, 2);
    panes = new QSplitter(Qt::Vertical);
    panes->setObjectName(QStringLiteral("panes"));
    panes->setChildrenCollapsible(false);
    for (QWidget* pane :
         std::initializer_list<QWidget*>{essayList, topicBox, answerBox, reportAndPace})
        panes->addWidget(pane);
    panes->setStretchFactor(0, 0);
    panes->setStretchFactor(1, 0);
    panes->setStretchFactor(2, 1);
    panes->setStretchFactor(3, 2);
    for (QWidget* pane : std::initializer_list<QWidget*>{essayList, topicBox, answerBox})
        pane->setMinimumHeight(pane->fontMetrics().height() * 2 + 8);
    progressView = new ProgressView;
    progressView->topicMap->topicStart = [this](const Question& q) { return topicStart(q); };
    // The pictures scroll rather than crowd in a small window.
    auto* progressArea = new QScrollArea;
    progressArea->setObjectName(QStringLiteral("progressArea"));
    progressArea->setWidgetResizable(true);
    progressArea->setFrameShape(QFrame::NoFrame);
    progressArea->setFocusPolicy(Qt::NoFocus);
    progressArea->setWidget(progressView);
    progressView->setMinimumHeight(420);
    views = named(new QTabWidget, "views", QString());
    views->addTab(panes, QStringLiteral("&List"));
    views->addTab(progressArea, QStringLiteral("P&rogress"));
    views->setDocumentMode(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(explainBox);
    buttons->addSpacing(8);
    buttons->addWidget(wordsLabel, 1);
    buttons->addWidget(writeAgainButton);
    buttons->addWidget(savePdfButton);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(countLabel);
    layout->addLayout(filters);
    layout->addWidget(foundLabel);
    layout->addWidget(views, 1);
    layout->addLayout(buttons);
    // A size that fits the screen at any scale; at first the list shows a few
    // rows and the topic three lines, and the answer and the report share the
    // rest, the report twice the answer's part.
    QSize first(820, 760);
    if (const QScreen* shown = screen())
        first = first.boundedTo(shown->availableGeometry().size() - QSize(40, 60));
    resize(first);
    layout->activate();
    const int line = fontMetrics().lineSpacing();
    const int row = essayList->verticalHeader()->defaultSectionSize();
    const int list = std::min(panes->height() / 5, row * 4 + 4);
    const int topic = std::min(panes->height() / 6, line * 3 + 12);
    const int rest = std::max(0, panes->height() - list - topic);
    panes->setSizes({list, topic, rest / 3, rest - rest / 3});
    // The picture of the time needs some width; the report keeps the most.
    const int across = reportAndPace->width();
    // The report keeps the width of its word band, so that it needs no scroll
    // bar across: a screen of little room gives the picture of the time less.
    const int report = std::min(std::max(across * 3 / 5, BandWidth + 60),
                                across - pacePane->minimumSizeHint().width());
    reportAndPace->setSizes({report, across - report});

    setTabOrder(views->tabBar(), kindFilter);
    setTabOrder(kindFilter, searchBox);
    setTabOrder(searchBox, allTopicsButton);
    setTabOrder(allTopicsButton, exportButton);
    setTabOrder(exportButton, essayList);
    setTabOrder(essayList, topicBox);
    setTabOrder(topicBox, answerBox);
    setTabOrder(answerBox, reportView);
    setTabOrder(reportView, ratingPane->ratingChoice);
    setTabOrder(ratingPane->ratingChoice, ratingPane->leaveOutBox);
    setTabOrder(ratingPane->leaveOutBox, pacePane->chart);
    setTabOrder(pacePane->chart, explainBox);
    setTabOrder(explainBox, progressView->wordsChart);
    setTabOrder(progressView->figuresView, writeAgainButton);
    setTabOrder(writeAgainButton, savePdfButton);
    setTabOrder(savePdfButton, closeButton);

    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        searchBox->setFocus(Qt::ShortcutFocusReason);
        searchBox->selectAll();
    });
    connect(kindFilter, &QComboBox::currentIndexChanged, this, &ReviewWindow::filterChanged);
    connect(searchBox, &QLineEdit::textChanged, this, &ReviewWindow::searchChanged);
    connect(essayList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ReviewWindow::essayChosen);
    connect(essayList, &QAbstractItemView::activated, this, &ReviewWindow::essayOpened);
    connect(views, &QTabWidget::currentChanged, this, &ReviewWindow::viewChanged);
    connect(progressView->topicMap, &TopicMap::topicChosen, this, &ReviewWindow::topicChosen);
    connect(allTopicsButton, &QPushButton::clicked, this, [this] {
        filter_->setTopic(std::nullopt);
        topicLabel->hide();
        allTopicsButton->hide();
        filterChanged();
    });
    connect(writeAgainButton, &QPushButton::clicked, this, &ReviewWindow::writeAgainClicked);
    connect(savePdfButton, &QPushButton::clicked, this, &ReviewWindow::savePdfClicked);
    connect(exportButton, &QPushButton::clicked, this, &ReviewWindow::exportClicked);
    connect(explainBox, &QCheckBox::toggled, this, &ReviewWindow::showReport);
    connect(ratingPane, &RatingPane::marksChanged, this, &ReviewWindow::marksChanged);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    suggestions_->setInterval(0);
    connect(suggestions_, &QTimer::timeout, this, &ReviewWindow::suggestionStep);
}

std::optional<SavedEssay> ReviewWindow::chosenEssay() const
{
    const QModelIndex current = essayList->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return essays_->essay(filter_->mapToSource(current).row());
}

void ReviewWindow::filterChanged()
{
    const int index = kindFilter->currentIndex();
    const std::optional<EssayKind> kind =
        index > 0 ? std::optional(EssayKinds.at(std::size_t(index - 1)).kind) : std::nullopt;
    filter_->setFilter(kind, searched_, matches_);
    // The chosen essay stays chosen while it is shown; otherwise the first shown.
    if (!essayList->currentIndex().isValid() && filter_->rowCount() > 0)
        essayList->setCurrentIndex(filter_->index(0, 0));
    essayChosen();
    // The search says what it found; an empty list says why, or a search that
    // finds nothing would look like a folder without essays.
    QString found;
    if (!searched_.isEmpty()) {
        const std::optional<Question> topic = filter_->topic();
        const int rows = filter_->rowCount();
        const QString kindWord = kind ? kindName(*kind) + QLatin1Char(' ') : QString();
        const QString on = topic ? QStringLiteral(" on ") + topicName(*topic) : QString();
        found =
            QStringLiteral("%1 all of: %2.")
                .arg(rows == 0   ? QStringLiteral("No %1essay%2 holds").arg(kindWord, on)
                     : rows == 1 ? QStringLiteral("1 %1essay%2 holds").arg(kindWord, on)
                                 : QStringLiteral("%1 %2essays%3 hold").arg(rows).arg(kindWord, on),
                     searched_.simplified());
    }
    foundLabel->setText(found);
    if (views->currentIndex() == 1)
        showProgress();
}

// Matching 50 MB of essays takes longer than a keystroke may: it runs on a
// thread, and the list changes when it is done.
void ReviewWindow::searchChanged()
{
    const QString search = searchBox->text().trimmed();
    const int number = ++*searchNumber_;
    if (search.isEmpty()) {
        searchFound(number, search, {});
        return;
    }
    if (searching_.valid())
        searching_.wait(); // stopped by the new number: at most one essay's match
    searching_ = std::async(std::launch::async, [this, search, number, latest = searchNumber_] {
        const EssaySearch words(search);
        QList<bool> matches(essays_->rowCount());
        for (int row = 0; row < matches.size(); ++row) {
            if (*latest != number)
                return;
            matches[row] = words.matches(essays_->essay(row));
        }
        QMetaObject::invokeMethod(
            this, [this, number, search, matches] { searchFound(number, search, matches); },
            Qt::QueuedConnection);
    });
}

void ReviewWindow::searchFound(int number, const QString& search, QList<bool> matches)
{
    if (number != *searchNumber_)
        return;
    searched_ = search;
    matches_ = std::move(matches);
    filterChanged();
}

void ReviewWindow::viewChanged()
{
    // Drawn first: the counting thread would share the cores with it.
    if (views->currentIndex() == 1) {
        showProgress();
        countSlipsAside();
    }
}

void ReviewWindow::showProgress()
{
    if (!paceFigures_) {
        paceFigures_ = std::make_unique<TimelineFigures>(*essays_, userFolder_, this, [this] {
            if (views->currentIndex() == 1)
                showProgress();
        });
    }
    const QList<std::optional<PaceFigures>>* pace = paceFigures_->figures();
    QList<ProgressEssay> shown;
    for (int row = 0; row < essays_->rowCount(); ++row) {
        const ListedEssay& essay = essays_->listed(row);
        if (!essay.isRecord || essay.marks.leftOut || !filter_->passes(row))
            continue;
        const auto counted = [row](const QList<float>& figures) {
            const float figure = figures.value(row, NAN);
            return std::isnan(figure) ? std::nullopt : std::optional<double>(figure);
        };
        shown.append(
            {essay.question, essay.when, essays_->words(row), counted(slips_), counted(usage_)});
        if (pace)
            addPaceFigures(shown.last(), pace->at(row));
        if (essay.marks.rating)
            shown.last().rating = *essay.marks.rating / 2.0;
    }
    Progress progress = makeProgress(shown, platform_.clock.now());
    if (spellingMissing_)
        progress.slips.waiting = 0;
    progressView->setProgress(progress);
    if (spellingMissing_)
        progressView->slipsChart->setNote(QStringLiteral("No English dictionary was found"));
}

// On a thread of its own, with the window's dictionaries, which take turns.
void ReviewWindow::countSlipsAside()
{
    if (slipsCounting_.valid())
        return;
    slips_ = QList<float>(essays_->rowCount(), NAN);
    usage_ = slips_;
    // Each essay's text is read back on the thread, one at a time; the list
    // stays as it is while the window is open.
    slipsCounting_ = std::async(std::launch::async, [this, essays = essays_, closing = closing_,
                                                     checker = spelling_] {
        const SpellChecker& spelling = *checker.get();
        const bool spelled = spelling.hasDictionary();
        if (!spelled) {
            QMetaObject::invokeMethod(
                this, [this] { spellingMissing_ = true; }, Qt::QueuedConnection);
        }
        QHash<QString, bool> known;
        QList<float> counted;
        QList<float> usage;
        int first = 0;
        const int rows = essays->rowCount();
        for (int i = 0; i < rows && !*closing; ++i) {
            // Counted on the candidate's own words, as the report is.
            const SavedEssay essay = essays->essay(i);
            const OwnAnswer own(essay.part.answer, essay.part.copies);
            const int words = countWords(own.text());
            const auto perHundred = [words](int found) {
                return words == 0 ? 0.0F : float(100.0 * found / words);
            };
            counted << (spelled ? perHundred(countSlips(own.text(), spelling, known)) : NAN);
            usage << perHundred(countUsageSlips(own.text()));
            if (counted.size() == 250 || i + 1 == rows) {
                QMetaObject::invokeMethod(
                    this, [this, first, counted, usage] { slipsCounted(first, counted, usage); },
                    Qt::QueuedConnection);
                first = i + 1;
                counted.clear();
                usage.clear();
            }
        }
    });
}

void ReviewWindow::slipsCounted(int first, const QList<float>& slips, const QList<float>& usage)
{
    for (qsizetype i = 0; i < slips.size(); ++i) {
        slips_[first + i] = slips.at(i);
        usage_[first + i] = usage.at(i);
    }
    if (views->currentIndex() == 1)
        showProgress();
}

void ReviewWindow::topicChosen(const Question& question)
{
    filter_->setTopic(question);
    topicLabel->setText(
        QStringLiteral("Topic: %1 No.%2").arg(kindName(question.kind)).arg(question.number));
    topicLabel->show();
    allTopicsButton->show();
    views->setCurrentIndex(0);
    essayList->setCurrentIndex(filter_->rowCount() > 0 ? filter_->index(0, 0) : QModelIndex());
    filterChanged();
    essayList->setFocus(Qt::OtherFocusReason);
}

QString ReviewWindow::topicStart(const Question& question)
{
    if (!topicTexts_) {
        topicTexts_.emplace();
        try {
            loadTopicLibrary(appFolder_, IssueLibraryName, IssueTopicCount, topicTexts_->at(0));
            loadTopicLibrary(appFolder_, ArgumentLibraryName, ArgumentTopicCount,
                             topicTexts_->at(1));
        } catch (const std::exception&) {
            // The topics are named by number alone.
        }
        try {
            loadTopicLibrary(appFolder_, GreIssueLibraryName, GreIssueTopicCount,
                             topicTexts_->at(2));
        } catch (const std::exception&) {
            // Without the GRE's library, its topics too.
        }
    }
    const TopicTable& table = topicTexts_->at(std::size_t(question.kind));
    if (question.number > table.size())
        return {};
    const QString text = table.at(question.number - 1).simplified();
    return text.size() > 90 ? text.left(88) + QStringLiteral("...") : text;
}

void ReviewWindow::essayChosen()
{
    const std::optional<SavedEssay> essay = chosenEssay();
    writeAgainButton->setEnabled(essay.has_value());
    savePdfButton->setEnabled(essay.has_value());
    suggestions_->stop();
    if (!essay) {
        topicBox->clear();
        answerBox->clear();
        answerBox->setExtraSelections({});
        reportView->clear();
        keyHtml_.clear();
        pacePane->setTimeline(std::nullopt);
        ratingPane->setEssay(std::nullopt, {});
        wordsLabel->clear();
        return;
    }
    showMarks();
    setBoxText(topicBox, essay->part.topic.toString());
    setBoxText(answerBox, essay->part.answer.toString());
    // Measured on what the candidate wrote, Help's copies of earlier essays left
    // out; its places are places in the answer box.
    const BoxAnswer answer(essay->part);
    const OwnAnswer& own = answer.own();
    report_ = savedEssayReport(answer, topicBox->toPlainText(), spelling_.get().get());
    const auto ownSpan = [&own](qsizetype start, qsizetype length) {
        const qsizetype from = own.answerOffset(start);
        return TextSpan{from, own.answerOffset(start + length) - from};
    };
    slipsInBox_.clear();
    slipsInBox_.reserve(report_.slipsAt.size());
    for (const TextSpan& span : std::as_const(report_.slipsAt))
        slipsInBox_.append(ownSpan(span.start, span.length));
    helpInBox_.clear();
    for (const auto& [start, length] : own.helpSpans())
        helpInBox_.append({start, length});
    QList<QTextEdit::ExtraSelection> underlined;
    underlined.reserve(slipsInBox_.size() + helpInBox_.size() + report_.usage.places.size());
    const auto mark = [&](const TextSpan& span, const QTextCharFormat& format) {
        QTextCursor cursor(answerBox->document());
        cursor.setPosition(int(span.start));
        cursor.setPosition(int(span.start + span.length), QTextCursor::KeepAnchor);
        underlined.append({cursor, format});
    };
    // What Help brought in stands apart, greyed, so the candidate sees what was theirs.
    QTextCharFormat fromHelp;
    fromHelp.setForeground(palette().color(QPalette::Disabled, QPalette::Text));
    for (const TextSpan& span : std::as_const(helpInBox_))
        mark(span, fromHelp);
    QTextCharFormat slip;
    slip.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    slip.setUnderlineColor(QColor(0xD0, 0x10, 0x10));
    for (const TextSpan& span : std::as_const(slipsInBox_))
        mark(span, slip);
    slip.setUnderlineColor(UsageUnderline);
    for (const UsageSpan& span : std::as_const(report_.usage.places))
        mark(ownSpan(span.start, span.length), slip);
    answerBox->setExtraSelections(underlined);
    // What the topic asked for follows the report, in the same view.
    keyHtml_ = keyHtml(keys_.file(essay->question.kind), essay->question.number, own.text(),
                       essay->part.topic);
    reportView->verticalScrollBar()->setValue(0);
    showReport();
    pacePane->setTimeline(essayTimeline(
        *essays_, filter_->mapToSource(essayList->currentIndex()).row(), userFolder_));
    if (!report_.slips.isEmpty())
        suggestions_->start();
    QString words = QStringLiteral("Words: %1")
                        .arg(essays_->words(filter_->mapToSource(essayList->currentIndex()).row()));
    if (!essay->part.isRecord)
        words += QStringLiteral(". Not laid out as a saved essay: the text as it stands in %1.")
                     .arg(essays_->fileName(*essay));
    wordsLabel->setText(words);
}

void ReviewWindow::showReport()
{
    const int scrolled = reportView->verticalScrollBar()->value();
    // Setting the text drops the document's pictures: the band comes after it.
    reportView->setHtml(reportHtml(report_, explainBox->isChecked() ? ReportMeanings::Shown
                                                                    : ReportMeanings::AsTooltips) +
                        keyHtml_);
    addWordBand(*reportView->document(), report_, devicePixelRatioF());
    reportView->document()->markContentsDirty(0, reportView->document()->characterCount());
    reportView->verticalScrollBar()->setValue(scrolled);
}

void ReviewWindow::suggestionStep()
{
    if (suggestSpellings(report_, *spelling_.get(), 1) == 0)
        suggestions_->stop();
    showReport();
}

void ReviewWindow::showEvent(QShowEvent* event)
{
    keepWindowOnScreen(this);
    QDialog::showEvent(event);
}

void ReviewWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ReviewWindow::essayOpened()
{
    answerBox->setFocus(Qt::OtherFocusReason);
}

void ReviewWindow::writeAgainClicked()
{
    if (const std::optional<SavedEssay> essay = chosenEssay()) {
        topicToWrite = essay->question;
        accept();
    }
}

void ReviewWindow::savePdfClicked()
{
    const std::optional<SavedEssay> essay = chosenEssay();
    if (!essay)
        return;
    EssayPage page{
        topicName(essay->question),
        essay->part.date.toString(),
        essay->part.time.toString(),
        essays_->words(filter_->mapToSource(essayList->currentIndex()).row()),
        essay->part.topic.toString(),
        essay->part.answer.toString(),
        &report_,
        slipsInBox_,
        helpInBox_,
        keyHtml(keys_.file(essay->question.kind), essay->question.number,
                BoxAnswer(essay->part).own().text(), essay->part.topic),
        essayTimeline(*essays_, filter_->mapToSource(essayList->currentIndex()).row(), userFolder_),
        marksLine(essay->marks.rating, essay->marks.leftOut)};
    QString name =
        kindName(essay->question.kind) + QLatin1Char(' ') + QString::number(essay->question.number);
    if (essay->when.isValid())
        name += essay->when.toString(QStringLiteral(" yyyy-MM-dd HH.mm"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = askPdfPath(this, QDir(folder).filePath(name + QStringLiteral(".pdf")));
    if (path.isEmpty())
        return;
    if (refusedInUserFolder(path, QStringLiteral("the PDF"), QStringLiteral("Save as PDF")))
        return;
    // The page lists every suggestion, however long the search.
    suggestions_->stop();
    suggestSpellings(report_, *spelling_.get(), ListedSlips);
    showReport();
    QString reason;
    if (!writeEssayPdf(path, page, reason)) {
        platform_.boxes.show(this,
                             QStringLiteral("The PDF was not saved.\r\n\r\nFile: %1\r\n%2")
                                 .arg(QDir::toNativeSeparators(path), reason),
                             QStringLiteral("Save as PDF"), MessageBoxes::Exclamation,
                             MessageBoxes::Ok);
    }
}

// The chosen essay's marks, once they are read; until then the rating waits.
void ReviewWindow::showMarks()
{
    const std::optional<SavedEssay> essay = chosenEssay();
    ratingPane->setEssay(essay && essay->part.isRecord && marksRead_
                             ? std::optional(essay->question.kind)
                             : std::nullopt,
                         essay ? essay->marks : RecordMarks{});
}

// Appends what changed to the essay's notes; a notes file that cannot be
// written changes nothing, and the window says so.
void ReviewWindow::marksChanged(const RecordMarks& marks)
{
    const std::optional<SavedEssay> essay = chosenEssay();
    if (!essay || !essay->part.isRecord)
        return;
    const int row = filter_->mapToSource(essayList->currentIndex()).row();
    const QString date = essay->part.date.toString();
    const QString time = essay->part.time.toString();
    QString entries;
    if (marks.rating != essay->marks.rating)
        entries += ratingEntry(essay->part.text, date, time, marks.rating);
    if (marks.leftOut != essay->marks.leftOut)
        entries += leaveOutEntry(essay->part.text, date, time, marks.leftOut);
    if (entries.isEmpty())
        return;
    const QString path = QDir(userFolder_).filePath(notesFilePath(essays_->fileName(*essay)));
    QString reason;
    if (!appendNotes(path, entries, reason)) {
        ratingPane->setEssay(essay->question.kind, essay->marks);
        platform_.boxes.show(this,
                             QStringLiteral("Not kept: %1 cannot be written (%2).")
                                 .arg(QDir::toNativeSeparators(path), reason),
                             QStringLiteral("Your rating"), MessageBoxes::Exclamation,
                             MessageBoxes::Ok);
        return;
    }
    essays_->setMarks(row, marks);
    if (views->currentIndex() == 1)
        showProgress();
}

// The user folder holds the essays and nothing else: a file named like an
// essay file would even take its place.
bool ReviewWindow::refusedInUserFolder(const QString& path, const QString& what,
                                       const QString& title)
{
    if (!liesIn(path, userFolder_))
        return false;
    platform_.boxes.show(this,
                         QStringLiteral("The user folder keeps your essays and nothing else. "
                                        "Choose another folder for %1.")
                             .arg(what),
                         title, MessageBoxes::Exclamation, MessageBoxes::Ok);
    return true;
}

// The same rows as qelreport writes, for the essays the list shows, newest first.
void ReviewWindow::exportClicked()
{
    const QString title = QStringLiteral("Export figures");
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = askCsvPath(
        this, QDir(folder).filePath(QStringLiteral("QEL figures ") +
                                    platform_.clock.now().toString(QStringLiteral("yyyy-MM-dd")) +
                                    QStringLiteral(".csv")));
    if (path.isEmpty() || refusedInUserFolder(path, QStringLiteral("the figures"), title))
        return;
    QList<int> rows;
    for (int row = 0; row < essays_->rowCount(); ++row) {
        if (filter_->mapFromSource(essays_->index(row, 0)).isValid())
            rows << row;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QSaveFile file(path);
    int written = -1;
    if (file.open(QIODevice::WriteOnly)) {
        // Many essays are measured on both cores, the second with dictionaries of its own.
        const SpellChecker* spelling = spelling_.get().get();
        std::unique_ptr<SpellChecker> aside;
        if (rows.size() > 64 && spelling->hasDictionary())
            aside = std::make_unique<SpellChecker>(SpellChecker::folders(appFolder_));
        const QList<std::optional<PaceFigures>> timelines =
            allTimelineFigures(*essays_, userFolder_);
        written =
            writeFiguresCsv(file, *essays_, rows, spelling, {}, aside.get(), &keys_, &timelines);
        if (written < 0 || !file.commit())
            written = -1;
    }
    QApplication::restoreOverrideCursor();
    const QString where = QDir::toNativeSeparators(path);
    if (written < 0) {
        platform_.boxes.show(this,
                             QStringLiteral("The figures were not saved.\r\n\r\nFile: %1\r\n%2.")
                                 .arg(where, file.errorString()),
                             title, MessageBoxes::Exclamation, MessageBoxes::Ok);
        return;
    }
    platform_.boxes.show(
        this,
        QStringLiteral("%1 written to %2, one for each essay listed.")
            .arg(written == 1 ? QStringLiteral("1 row") : QStringLiteral("%1 rows").arg(written),
                 where),
        title, MessageBoxes::Information, MessageBoxes::Ok);
}
