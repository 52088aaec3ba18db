#pragma once

// Catalogue texts the code decides on, by name. Labels, captions and headings that are only
// shown keep their number where the control is built.
namespace TextId {

inline constexpr int KitBatchNumber = 45;
inline constexpr int Operator = 46;
inline constexpr int EnterRunNumber = 49;
inline constexpr int EnterBatchNumber = 50;
inline constexpr int EnterOperatorName = 51;
inline constexpr int SubjectIdPrefix = 57;
inline constexpr int NotSpecified = 64; // "N/S"
inline constexpr int ChangeSubjectId = 71;
inline constexpr int SubjectId = 72;
inline constexpr int Pass = 79;
inline constexpr int Fail = 80;
inline constexpr int NotApplicable = 81; // "N/A"
inline constexpr int ValidRun = 87;
inline constexpr int CalculatedPlots = 89;
inline constexpr int SaveUnsavedData = 105;
inline constexpr int RawDataCopied = 110;
inline constexpr int Version = 114;
inline constexpr int BadArraySize = 118;
inline constexpr int IllegalCharacter = 121;
inline constexpr int FileNotLoaded = 125;
inline constexpr int InvalidPlateData = 126;
inline constexpr int ProgramName = 131;
inline constexpr int About = 142;
inline constexpr int ResultsCopied = 149;
inline constexpr int RandomBlockIncomplete = 179;
inline constexpr int CancelRandomBlock = 180;
inline constexpr int MoreStripsThanData = 182;
inline constexpr int NotCalculable = 185;
inline constexpr int AnalysisSoftware = 201;
inline constexpr int ZeroStandardMeanNote = 258;
inline constexpr int CaptionPrefix = 259;
inline constexpr int DataNotSavedContinue = 272;
inline constexpr int CancelSessionBlocks = 304;
inline constexpr int InvalidRun = 364;
inline constexpr int UnknownFileType = 371;
inline constexpr int ConcentrationNotNumeric = 372;

} // namespace TextId
