// The director's handling of the recognizers' answers: each answer is copied, logged and
// stored, and a small state machine decides from the answers so far whether the set shows one
// container or two and which number and size/type code belong to each. The window owns one
// ResultFusion, supplies the calls it needs through ResultWindow and paints the four fields.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/recognition_result.h"
#include "director/code_votes.h"

inline constexpr int ResultListCapacity = 24;
inline constexpr int ResultLogSize = 260;  // 259 characters and the terminator
inline constexpr int CodeTextSize = 16;
inline constexpr int TypeTextSize = 8;

// m_layout
inline constexpr std::int8_t LayoutUndecided = -1;
inline constexpr std::int8_t LayoutOneContainer = 1;  // six photos of one container
inline constexpr std::int8_t LayoutFourPhotos = 2;
inline constexpr std::int8_t LayoutTwoContainers = 3;

// PhotoSet, set by the folder button before the fourth photo of a set is dispatched
inline constexpr std::uint8_t PhotoSetNone = 0;
inline constexpr std::uint8_t PhotoSetSix = 1;
inline constexpr std::uint8_t PhotoSetFour = 2;

// m_code1Decided, m_code2Decided, m_type1Decided
inline constexpr std::uint8_t CodeOpen = 0;
inline constexpr std::uint8_t CodeDecided = 1;
inline constexpr std::uint8_t CodeFromFallback = 2;

// Shown when the votes leave a size/type code undecided.
inline constexpr const char* FourPhotoDefaultType = "22G1";
inline constexpr const char* TwoContainerDefaultType = "22G1";
inline constexpr const char* OneContainerDefaultType = "45G1";

// What the fusion needs from the window that owns it.
class ResultWindow {
public:
    virtual ~ResultWindow() = default;
    // Copies size bytes at address in this process; false when the address is not a live,
    // written block with room for them (nothing is copied then).
    virtual bool ReadOwnMemory(std::uintptr_t address, void* buffer, std::size_t size) = 0;
    // Shows the result log in its static control.
    virtual void ShowResultLog(const char* text) = 0;
    // Invalidates the client area without erasing, so the paint handler shows the fields.
    virtual void InvalidateResults() = 0;
};

class ResultFusion {
public:
    explicit ResultFusion(ResultWindow& window);

    // The state a new set starts from: no answers, empty log and fields, nothing decided.
    void ResetResultState();
    // Handler of WM_RECOGNITION_RESULT: lParam is the address of the answer in this process.
    std::intptr_t OnRecognizerResult(std::uintptr_t wParam, std::intptr_t lParam);

    // Members of the director's dialog.
    std::int8_t m_layout;
    std::int32_t m_resultCount;
    std::uint8_t m_code1Decided;
    std::uint8_t m_code2Decided;
    std::uint8_t m_type1Decided;
    char m_code1[CodeTextSize]{};  // container A, or the only container
    char m_code2[CodeTextSize]{};  // container B
    char m_type1[TypeTextSize]{};
    char m_type2[TypeTextSize]{};

    // Program-wide state of the director.
    std::uint8_t PhotoSet = PhotoSetNone;
    RecognitionResult ReceivedResult{};
    RecognitionResult ResultList[ResultListCapacity]{};
    char ResultLog[ResultLogSize]{};
    CodeVoting Votes{};

private:
    enum class AnswerSet { All, RoleA, RoleB };

    static bool InSet(const RecognitionResult& r, AnswerSet set);
    bool ReadReceivedResult(std::intptr_t address);
    void AppendResultLog();
    const RecognitionResult& NewAnswer() const;
    template <typename Test>
    const RecognitionResult* FirstStored(Test test) const;
    int VoteTypes(AnswerSet set);
    int VoteCodes(AnswerSet set);
    void TakeVotedCode(AnswerSet set, std::uint8_t& decided, char (&code)[CodeTextSize]);
    int TakeVotedType(AnswerSet set, char (&type)[TypeTextSize], const char* fallback);

    void FourPhotoSteps();
    void SixPhotoSteps();
    void DecideLayoutFromSizeType();
    void OneContainerSteps();
    void FillUnknownTypeCharacters();
    void TwoContainerSteps();
    void TwoTypeVotes();
    void UndecidedAtSixthAnswer();
    void FinishOne();

    ResultWindow& window_;
};
