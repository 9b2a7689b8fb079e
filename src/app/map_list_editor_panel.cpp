#include "app/map_list_editor_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/ansi_text.h"
#include "core/chooser.h"
#include "core/file_io.h"
#include "maps/map_list_editor.h"

namespace zembrock {
namespace {

constexpr QSize kPreviewSize(160, 100);

QStringList ToQStrings(const std::vector<std::string>& texts) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::string& text : texts) {
        list.append(FromAnsi(text));
    }
    return list;
}

int RowOf(const std::optional<std::size_t>& position) {
    return position ? static_cast<int>(*position) : -1;
}

// Refills a combo box only when its entries changed, so that an open popup is not disturbed.
void RenderChooser(QComboBox* combo, const Chooser& chooser) {
    const QStringList entries = ToQStrings(chooser.entries);
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i) {
        shown.append(combo->itemText(i));
    }
    if (shown != entries) {
        combo->clear();
        combo->addItems(entries);
    }
    combo->setCurrentIndex(RowOf(chooser.selected));
}

QComboBox* PickOnlyCombo(const char* objectName, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(objectName));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(6);
    return combo;
}

}  // namespace

MapListEditorPanel::MapListEditorPanel(MapListEditor& editor, Dialogs& dialogs, QWidget* parent)
    : QGroupBox(QStringLiteral("Map List Editor:"), parent),
      m_editor(editor),
      m_dialogs(dialogs),
      m_combo2(PickOnlyCombo("Combo2", this)),
      m_list1(new QListWidget(this)),
      m_combo3(PickOnlyCombo("Combo3", this)),
      m_combo4(PickOnlyCombo("Combo4", this)),
      m_combo5(new QComboBox(this)),
      m_image1(new QLabel(this)) {
    m_list1->setObjectName(QStringLiteral("List1"));
    m_list1->setSelectionMode(QAbstractItemView::SingleSelection);
    m_combo5->setObjectName(QStringLiteral("Combo5"));
    m_combo5->setEditable(true);
    // Typed priorities belong to the line being built, not to the list of offered ones.
    m_combo5->setInsertPolicy(QComboBox::NoInsert);
    m_combo5->setMinimumContentsLength(4);
    m_combo5->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setFixedSize(kPreviewSize);
    m_image1->setFrameShape(QFrame::StyledPanel);

    QToolButton* cmdRefresh = PictureButton("cmdRefresh", QStyle::SP_BrowserReload, QStringLiteral("Reload"));
    QToolButton* cmdDelete = PictureButton("cmdDelete", QStyle::SP_TrashIcon, QStringLiteral("Delete file"));
    QToolButton* cmdUp = PictureButton("cmdUp", QStyle::SP_ArrowUp, QStringLiteral("Move up"));
    QToolButton* cmdDown = PictureButton("cmdDown", QStyle::SP_ArrowDown, QStringLiteral("Move down"));
    QToolButton* cmdDel =
        PictureButton("cmdDel", QStyle::SP_DialogDiscardButton, QStringLiteral("Remove line"));
    QToolButton* cmdClear =
        PictureButton("cmdClear", QStyle::SP_DialogResetButton, QStringLiteral("Clear list"));
    QToolButton* cmdSave = PictureButton("cmdSave", QStyle::SP_DialogSaveButton, QStringLiteral("Save"));
    QToolButton* cmdSaveas =
        PictureButton("cmdSaveas", QStyle::SP_FileDialogNewFolder, QStringLiteral("Save as..."));
    auto* command3 = new QPushButton(QStringLiteral("Add New"), this);
    command3->setObjectName(QStringLiteral("Command3"));
    auto* command4 = new QPushButton(QStringLiteral("Update Selected Line"), this);
    command4->setObjectName(QStringLiteral("Command4"));

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("Selected map list:"), this));
    fileRow->addWidget(m_combo2, 1);
    fileRow->addWidget(cmdRefresh);
    fileRow->addWidget(cmdDelete);

    auto* lineButtons = new QVBoxLayout;
    for (QToolButton* button : {cmdUp, cmdDown, cmdDel, cmdClear}) {
        lineButtons->addWidget(button);
    }
    lineButtons->addStretch();
    lineButtons->addWidget(cmdSave);
    lineButtons->addWidget(cmdSaveas);
    auto* linesRow = new QHBoxLayout;
    linesRow->addWidget(m_list1, 1);
    linesRow->addLayout(lineButtons);

    auto* choosers = new QGridLayout;
    choosers->addWidget(new QLabel(QStringLiteral("All Maps:"), this), 0, 0);
    choosers->addWidget(m_combo3, 0, 1);
    choosers->addWidget(new QLabel(QStringLiteral("Game Type:"), this), 1, 0);
    choosers->addWidget(m_combo4, 1, 1);
    choosers->addWidget(new QLabel(QStringLiteral("Priority:"), this), 2, 0);
    choosers->addWidget(m_combo5, 2, 1);
    choosers->setColumnStretch(1, 1);
    auto* buildRow = new QHBoxLayout;
    buildRow->addLayout(choosers, 1);
    buildRow->addWidget(m_image1, 0, Qt::AlignTop);
    auto* lineCommands = new QHBoxLayout;
    lineCommands->addWidget(command3);
    lineCommands->addWidget(command4);
    lineCommands->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addLayout(linesRow, 1);
    layout->addLayout(buildRow);
    layout->addLayout(lineCommands);

    connect(m_combo2, &QComboBox::activated, this, [this](int index) {
        m_editor.SelectMapList(static_cast<std::size_t>(index));
        Render();
        emit mapListSelected();
    });
    connect(m_list1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            m_editor.SelectLine(static_cast<std::size_t>(row));
            Render();
        }
    });
    // A click on the line that is already selected sets the choosers from it again.
    connect(m_list1, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        m_editor.SelectLine(static_cast<std::size_t>(m_list1->row(item)));
        Render();
    });
    connect(m_combo3, &QComboBox::activated, this, [this](int index) {
        m_editor.SelectMap(static_cast<std::size_t>(index));
        RenderPreview();
    });
    connect(m_combo4, &QComboBox::activated, this,
            [this](int index) { m_editor.SelectGameType(static_cast<std::size_t>(index)); });
    connect(m_combo5, &QComboBox::activated, this,
            [this](int index) { m_editor.SelectPriority(static_cast<std::size_t>(index)); });
    // Typing is forwarded without re-rendering, which would move the cursor under the fingers.
    connect(m_combo5, &QComboBox::editTextChanged, this,
            [this](const QString& text) { m_editor.SetPriorityText(ToAnsi(text)); });

    Connect(cmdRefresh, [this] { m_editor.LoadMapList(); });
    Connect(cmdDelete, [this] { m_editor.DeleteMapListFile(m_dialogs); });
    Connect(command3, [this] { m_editor.AddNew(); });
    Connect(command4, [this] { m_editor.UpdateSelectedLine(); });
    Connect(cmdUp, [this] { m_editor.MoveUp(); });
    Connect(cmdDown, [this] { m_editor.MoveDown(); });
    Connect(cmdDel, [this] { m_editor.RemoveSelected(); });
    Connect(cmdClear, [this] { m_editor.Clear(); });
    Connect(cmdSave, [this] { m_editor.Save(m_dialogs); });
    Connect(cmdSaveas, [this] { m_editor.SaveAs(m_dialogs); });

    Render();
}

QToolButton* MapListEditorPanel::PictureButton(const char* objectName, QStyle::StandardPixmap standardIcon,
                                               const QString& toolTip) {
    auto* button = new QToolButton(this);
    button->setObjectName(QLatin1String(objectName));
    button->setIcon(style()->standardIcon(standardIcon));
    button->setToolTip(toolTip);
    button->setAccessibleName(toolTip);
    return button;
}

template <typename Operation>
void MapListEditorPanel::Connect(QAbstractButton* button, Operation operation) {
    connect(button, &QAbstractButton::clicked, this, [this, operation] {
        operation();
        Render();
    });
}

void MapListEditorPanel::Render() {
    const QSignalBlocker blockCombo2(m_combo2);
    const QSignalBlocker blockList1(m_list1);
    const QSignalBlocker blockCombo3(m_combo3);
    const QSignalBlocker blockCombo4(m_combo4);
    const QSignalBlocker blockCombo5(m_combo5);
    RenderChooser(m_combo2, m_editor.MapListFiles());
    RenderLines();
    RenderChooser(m_combo3, m_editor.AllMaps());
    RenderChooser(m_combo4, m_editor.GameTypes());
    RenderChooser(m_combo5, m_editor.Priorities());
    const QString priority = FromAnsi(m_editor.PriorityText());
    if (m_combo5->currentText() != priority) {
        m_combo5->setEditText(priority);
    }
    RenderPreview();
}

void MapListEditorPanel::RenderLines() {
    const QStringList lines = ToQStrings(m_editor.Lines());
    // The list is rebuilt only when its lines changed: selecting a line re-renders from
    // inside the list's own click handling, which must not lose its items.
    bool same = m_list1->count() == lines.size();
    for (int row = 0; same && row < lines.size(); ++row) {
        same = m_list1->item(row)->text() == lines[row];
    }
    if (!same) {
        m_list1->clear();
        m_list1->addItems(lines);
    }
    const int selected = RowOf(m_editor.SelectedLine());
    if (selected < 0) {
        m_list1->clearSelection();
    }
    m_list1->setCurrentRow(selected);
}

void MapListEditorPanel::RenderPreview() {
    QPixmap picture;
    if (const auto file = m_editor.PreviewFile()) {
        // Read through the program's own file access: the picture's name is 8-bit text that
        // the platform's path handling already understands.
        if (const auto bytes = ReadWholeFile(*file)) {
            picture.loadFromData(QByteArray::fromStdString(*bytes));
        }
    }
    if (picture.isNull()) {
        m_image1->clear();
    } else {
        m_image1->setPixmap(
            picture.scaled(m_image1->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
}

}  // namespace zembrock
