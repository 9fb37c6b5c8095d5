#pragma once
// TDBGridGxIncSearch: the grid's incremental search.  Each step adds text
// to the search and looks, without regard to case, for a record whose
// current-column display text starts with it: at the current record, or by
// walking the dataset (from the first record, or on from the current one
// to the next or prior match).  A match takes the record's own leading
// characters as the search text; without one the dataset goes back to
// where it stood, in one step, and the text stays as it was.
//
// The search ends on Enter, Esc or F2, on its time-out (its own timer),
// when another column is selected, and when the current record moves for
// any reason but the search's own walk.

#include <QTimer>

#include <string>

class TCustomDBGridGx;

class TDBGridGxIncSearch {
public:
    enum TDirection { isdNone, isdNext, isdPrevious };
    // The time-out of a search started by typing, and the one the
    // shortcuts pass: none.
    static constexpr int TypingTimeoutMs = 1500;
    static constexpr int NoTimeout = -1;

    explicit TDBGridGxIncSearch(TCustomDBGridGx& grid);
    TDBGridGxIncSearch(const TDBGridGxIncSearch&) = delete;
    TDBGridGxIncSearch& operator=(const TDBGridGxIncSearch&) = delete;

    bool Active() const { return FActive; }
    const std::string& Text() const { return FText; }   // UTF-8
    int Timeout() const { return FTimeout; }            // ms, or NoTimeout
    // The search's own walk is moving the dataset right now.
    bool Walking() const { return FWalking; }

    // Ctrl+F: an empty search with no time-out.
    void Start() { Step(std::string(), NoTimeout, isdNone); }
    void Step(const std::string& additional, int timeout, TDirection direction);
    // Removes the last whole character of the text and restarts the timer.
    void RemoveLastCharacter();
    void End();
    // The current record moved: ends the search unless its own walk did it.
    void RecordMoved();

    // The time-out searches started by typing get (TypingTimeoutMs unless
    // a test shortens it).
    static int TypingTimeout();
    static void SetTypingTimeout(int ms);

private:
    // Whether the current record's display text of the current column
    // starts with `candidate`; `own` gets its leading characters.
    bool CurrentRecordMatches(const QString& candidate, QString& own) const;
    // Walks the dataset in `direction` for a match; false leaves it where
    // it stood.
    bool Walk(const QString& candidate, TDirection direction, QString& own);
    void RestartTimer();
    void RepaintCurrentRow();

    TCustomDBGridGx& FGrid;
    QTimer FTimer;
    bool FActive = false;
    bool FWalking = false;
    std::string FText;
    int FTimeout = NoTimeout;
};
