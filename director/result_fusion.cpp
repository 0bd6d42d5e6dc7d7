#include "director/result_fusion.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int FourPhotoAnswers = 4;
constexpr int SixPhotoAnswers = 6;
constexpr int LogLineSize = 26;             // "%s %s\r\n" of the two cut strings and a NUL
constexpr int MaxSharedPositionsOfTwo = 9;  // two decided numbers closer than this are one
constexpr std::uint8_t SizeTypeFound = 1;

static_assert(ResultListCapacity + 1 < 256, "a vote counter holds every stored answer");

template <std::size_t N>
void SetText(char (&target)[N], const char* text) {
    std::snprintf(target, N, "%s", text);
}

template <std::size_t N>
void ClearText(char (&target)[N]) {
    target[0] = '\0';
}

// A found field must hold exactly its length of digits, capital letters and "?".
bool IsWellFormed(const char* text, int length) {
    for (int i = 0; i < length; ++i) {
        if (SymbolOf(text[i]) == NoSymbol && text[i] != '?') return false;
    }
    return text[length] == '\0';
}

// Other recognizers write this record, so it is not trusted: its strings end at their field's
// end, and a field that is not what its flag claims takes no part in the fusion. The answer
// itself still counts.
void DropMalformedFields(RecognitionResult& result) {
    result.code[sizeof result.code - 1] = '\0';
    result.sizeType[sizeof result.sizeType - 1] = '\0';
    if (result.codeFound != CodeFlagNone &&
        (result.codeFound > CodeFlagFallback ||
         !IsWellFormed(result.code, ContainerCodeLength))) {
        result.codeFound = CodeFlagNone;
    }
    if (result.sizeTypeFound != 0 &&
        (result.sizeTypeFound != SizeTypeFound || !IsWellFormed(result.sizeType, SizeTypeLength))) {
        result.sizeTypeFound = 0;
    }
}

// Role A is the front container, role B the rear one.
bool HasRoleA(const RecognitionResult& r) {
    return r.camera == 4 || ((r.camera == 2 || r.camera == 3) && r.side == 0);
}

bool HasRoleB(const RecognitionResult& r) {
    return r.camera == 1 || ((r.camera == 2 || r.camera == 3) && r.side == 1);
}

bool HasAcceptedCode(const RecognitionResult& r) { return r.codeFound == CodeFlagAccepted; }

int SamePositions(const char* a, const char* b) {
    int same = 0;
    for (int p = 0; p < ContainerCodeLength; ++p) same += a[p] == b[p];
    return same;
}

}  // namespace

ResultFusion::ResultFusion(ResultWindow& window) : window_(window) { ResetResultState(); }

void ResultFusion::ResetResultState() {
    ClearText(ResultLog);
    m_resultCount = 0;
    m_layout = LayoutUndecided;
    m_code1Decided = CodeOpen;
    m_code2Decided = CodeOpen;
    m_type1Decided = CodeOpen;
    ClearText(m_code1);
    ClearText(m_code2);
    ClearText(m_type1);
    ClearText(m_type2);
}

std::intptr_t ResultFusion::OnRecognizerResult(std::uintptr_t, std::intptr_t lParam) {
    if (!ReadReceivedResult(lParam)) return 0;
    AppendResultLog();
    window_.ShowResultLog(ResultLog);
    // A full list keeps further answers (late ones of an earlier set) in the log only.
    if (m_resultCount >= ResultListCapacity) return 0;
    ResultList[m_resultCount++] = ReceivedResult;
    if (PhotoSet == PhotoSetFour) {
        FourPhotoSteps();
    } else {
        SixPhotoSteps();
    }
    window_.InvalidateResults();
    return 0;
}

// A refused read leaves the earlier record where it is and unused.
bool ResultFusion::ReadReceivedResult(std::intptr_t address) {
    RecognitionResult copy;
    if (!window_.ReadOwnMemory(static_cast<std::uintptr_t>(address), &copy, sizeof copy)) {
        return false;
    }
    DropMalformedFields(copy);
    ReceivedResult = copy;
    return true;
}

// Lines that no longer fit are cut where the log ends.
void ResultFusion::AppendResultLog() {
    char line[LogLineSize];
    std::snprintf(line, sizeof line, "%s %s\r\n", ReceivedResult.code, ReceivedResult.sizeType);
    const std::size_t used = std::strlen(ResultLog);
    std::strncat(ResultLog, line, sizeof ResultLog - 1 - used);
}

const RecognitionResult& ResultFusion::NewAnswer() const { return ResultList[m_resultCount - 1]; }

template <typename Test>
const RecognitionResult* ResultFusion::FirstStored(Test test) const {
    for (int i = 0; i < m_resultCount; ++i) {
        if (test(ResultList[i])) return &ResultList[i];
    }
    return nullptr;
}

bool ResultFusion::InSet(const RecognitionResult& r, AnswerSet set) {
    return set == AnswerSet::All || (set == AnswerSet::RoleA ? HasRoleA(r) : HasRoleB(r));
}

int ResultFusion::VoteTypes(AnswerSet set) {
    Votes.ClearSizeTypeVotes();
    for (int i = 0; i < m_resultCount; ++i) {
        const RecognitionResult& r = ResultList[i];
        if (r.sizeTypeFound != 0 && InSet(r, set)) Votes.VoteSizeTypeCode(r.sizeType);
    }
    return Votes.DecideSizeTypeCode();
}

int ResultFusion::VoteCodes(AnswerSet set) {
    Votes.ClearCodeVotes();
    for (int i = 0; i < m_resultCount; ++i) {
        const RecognitionResult& r = ResultList[i];
        if (r.codeFound != CodeFlagNone && InSet(r, set)) Votes.VoteContainerCode(r.code);
    }
    return Votes.DecideContainerCode();
}

void ResultFusion::TakeVotedCode(AnswerSet set, std::uint8_t& decided,
                                 char (&code)[CodeTextSize]) {
    decided = static_cast<std::uint8_t>(VoteCodes(set));
    if (decided == CodeDecided) SetText(code, Votes.DecidedCode);
}

int ResultFusion::TakeVotedType(AnswerSet set, char (&type)[TypeTextSize], const char* fallback) {
    const int decided = VoteTypes(set);
    SetText(type, decided == CodeDecided ? Votes.DecidedSizeType : fallback);
    return decided;
}

// One container seen four times: decided at the fourth answer at the latest.
void ResultFusion::FourPhotoSteps() {
    m_layout = LayoutFourPhotos;
    if (m_code1Decided != CodeDecided && HasAcceptedCode(NewAnswer())) {
        SetText(m_code1, NewAnswer().code);
        m_code1Decided = CodeDecided;
    }
    if (m_type1Decided != CodeDecided) {
        m_type1Decided = static_cast<std::uint8_t>(VoteTypes(AnswerSet::All));
        if (m_type1Decided == CodeDecided) SetText(m_type1, Votes.DecidedSizeType);
    }
    if (m_code1Decided == CodeDecided && m_type1Decided == CodeDecided) {
        ClearText(m_code2);
        ClearText(m_type2);
        return;
    }
    if (m_resultCount != FourPhotoAnswers) return;
    if (m_code1Decided != CodeDecided) {
        TakeVotedCode(AnswerSet::All, m_code1Decided, m_code1);
        const RecognitionResult* fallback = FirstStored(
            [](const RecognitionResult& r) { return r.codeFound == CodeFlagFallback; });
        if (m_code1Decided != CodeDecided && fallback != nullptr) {
            SetText(m_code1, fallback->code);
            m_code1Decided = CodeFromFallback;
        }
    }
    m_type1Decided = static_cast<std::uint8_t>(
        TakeVotedType(AnswerSet::All, m_type1, FourPhotoDefaultType));
}

// One or two containers: decided at the sixth answer at the latest.
void ResultFusion::SixPhotoSteps() {
    DecideLayoutFromSizeType();
    if (m_layout == LayoutOneContainer) {
        OneContainerSteps();
    } else if (m_layout == LayoutTwoContainers) {
        TwoContainerSteps();
    } else if (m_layout == LayoutUndecided && m_resultCount == SixPhotoAnswers) {
        UndecidedAtSixthAnswer();
    }
}

// A 20-foot first character means two containers; 40 or 45 feet, or "9", means one.
void ResultFusion::DecideLayoutFromSizeType() {
    const RecognitionResult& answer = NewAnswer();
    if (m_layout != LayoutUndecided || answer.sizeTypeFound != SizeTypeFound) return;
    const char length = answer.sizeType[0];
    if (length == '4' || length == 'L' || length == '9') {
        m_layout = LayoutOneContainer;
        SetText(m_type1, answer.sizeType);
        m_type1Decided = CodeDecided;
    } else if (length == '2') {
        m_layout = LayoutTwoContainers;
    }
}

void ResultFusion::OneContainerSteps() {
    FillUnknownTypeCharacters();
    if (const RecognitionResult* found = FirstStored(HasAcceptedCode)) {
        SetText(m_code1, found->code);
        m_code1Decided = CodeDecided;
        FinishOne();
        return;
    }
    if (m_resultCount != SixPhotoAnswers) return;
    TakeVotedCode(AnswerSet::All, m_code1Decided, m_code1);
    m_type1Decided = static_cast<std::uint8_t>(
        TakeVotedType(AnswerSet::All, m_type1, OneContainerDefaultType));
    FinishOne();
}

// Unknown characters of the shown size/type code are taken from a later reading.
void ResultFusion::FillUnknownTypeCharacters() {
    const RecognitionResult& answer = NewAnswer();
    if (m_type1[0] == '\0' || answer.sizeTypeFound != SizeTypeFound) return;
    for (int p = 0; p < SizeTypeLength; ++p) {
        const char c = answer.sizeType[p];
        if (m_type1[p] == '?' && c != '?' && c != '\0') m_type1[p] = c;
    }
}

void ResultFusion::TwoContainerSteps() {
    for (int i = 0; i < m_resultCount; ++i) {
        const RecognitionResult& r = ResultList[i];
        if (!HasAcceptedCode(r)) continue;
        if (m_code2Decided == CodeOpen && HasRoleB(r)) {
            SetText(m_code2, r.code);
            m_code2Decided = CodeDecided;
        }
        if (m_code1Decided == CodeOpen && HasRoleA(r)) {
            SetText(m_code1, r.code);
            m_code1Decided = CodeDecided;
        }
        if (m_code1Decided == CodeDecided && m_code2Decided == CodeDecided) {
            TwoTypeVotes();
            return;
        }
    }
    if (m_resultCount != SixPhotoAnswers) return;
    if (m_code1Decided == CodeOpen) TakeVotedCode(AnswerSet::RoleA, m_code1Decided, m_code1);
    if (m_code2Decided == CodeOpen) TakeVotedCode(AnswerSet::RoleB, m_code2Decided, m_code2);
    TwoTypeVotes();
}

void ResultFusion::TwoTypeVotes() {
    m_type1Decided = static_cast<std::uint8_t>(
        TakeVotedType(AnswerSet::RoleA, m_type1, TwoContainerDefaultType));
    TakeVotedType(AnswerSet::RoleB, m_type2, TwoContainerDefaultType);
}

// No size/type code told the layout: the container numbers of the two roles tell it.
void ResultFusion::UndecidedAtSixthAnswer() {
    const RecognitionResult* firstA =
        FirstStored([](const RecognitionResult& r) { return HasAcceptedCode(r) && HasRoleA(r); });
    const RecognitionResult* firstB = FirstStored([](const RecognitionResult& r) {
        return HasAcceptedCode(r) && !HasRoleA(r) && HasRoleB(r);
    });
    if (firstA != nullptr && firstB != nullptr) {
        if (std::strcmp(firstA->code, firstB->code) != 0) {
            m_layout = LayoutTwoContainers;
            TwoContainerSteps();
            return;
        }
        m_layout = LayoutOneContainer;
        m_type1Decided = static_cast<std::uint8_t>(
            TakeVotedType(AnswerSet::All, m_type1, OneContainerDefaultType));
        OneContainerSteps();
        return;
    }
    if (firstA != nullptr || firstB != nullptr) {
        SetText(m_code1, (firstA != nullptr ? firstA : firstB)->code);
        m_code1Decided = CodeDecided;
        m_layout = LayoutOneContainer;
        FinishOne();
        return;
    }
    TakeVotedCode(AnswerSet::RoleA, m_code1Decided, m_code1);
    TakeVotedCode(AnswerSet::RoleB, m_code2Decided, m_code2);
    if (m_code1Decided == CodeDecided && m_code2Decided == CodeDecided &&
        SamePositions(m_code1, m_code2) <= MaxSharedPositionsOfTwo) {
        m_layout = LayoutTwoContainers;
        return;
    }
    TakeVotedCode(AnswerSet::All, m_code1Decided, m_code1);
    const RecognitionResult* anyCode =
        FirstStored([](const RecognitionResult& r) { return r.codeFound != CodeFlagNone; });
    if (m_code1Decided != CodeDecided && anyCode != nullptr) {
        SetText(m_code1, anyCode->code);
        m_code1Decided = anyCode->codeFound;
    }
    m_layout = LayoutOneContainer;
    FinishOne();
}

void ResultFusion::FinishOne() {
    ClearText(m_code2);
    ClearText(m_type2);
}
