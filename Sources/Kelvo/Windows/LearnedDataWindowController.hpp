#pragma once

#include "PersonalData/UserPhraseStore.hpp"

#include <QWidget>
#include <memory>

class QLabel;
class QLineEdit;
class QStackedWidget;
class QTabBar;
class QTableWidget;

namespace kelvo {

// Browses and deletes what the store has learned, one kind of entry at a time, narrowed by a search
// over reading or text.
class LearnedDataView : public QWidget {
public:
    explicit LearnedDataView(std::shared_ptr<UserPhraseStore> store);

    void setKind(UserPhraseStore::Entry::Kind kind);
    void setSearch(const QString& search);
    // The entries shown, and the empty state's title when none is.
    const std::vector<UserPhraseStore::Entry>& shownEntries() const { return shown_; }
    QString emptyStateTitle() const;
    // Deletes a shown entry, as its row's button does.
    void deleteShown(std::size_t row);
    // Lists the entries again when the store changed (in this process, or another wrote the file),
    // and shows what the store has to tell on the status line. A timer calls it while shown.
    void syncWithStore();
    QString statusText() const;
    QTableWidget* table() const { return table_; }

private:
    void reload();
    void showFiltered();

    std::shared_ptr<UserPhraseStore> store_;
    std::uint64_t listedVersion_ = 0;
    UserPhraseStore::Entry::Kind kind_ = UserPhraseStore::Entry::Kind::selection;
    QString search_;
    std::vector<UserPhraseStore::Entry> entries_;
    std::vector<UserPhraseStore::Entry> shown_;
    QTabBar* kinds_;
    QLabel* note_;
    QLineEdit* searchField_;
    QStackedWidget* stack_;
    QTableWidget* table_;
    QLabel* emptyTitle_;
    QLabel* emptyDetail_;
    QLabel* count_;
    QLabel* status_;
};

// The learned data window, one per process, kept when closed.
class LearnedDataWindowController {
public:
    static LearnedDataWindowController& shared();
    // Creates the window over the store on the first call; later calls only bring it forward.
    void show(std::shared_ptr<UserPhraseStore> store);
    QWidget* window() const { return window_.get(); }
    LearnedDataView* view() const { return view_; }

private:
    LearnedDataWindowController() = default;
    std::unique_ptr<QWidget> window_;
    LearnedDataView* view_ = nullptr;
};

} // namespace kelvo
