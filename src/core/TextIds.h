#pragma once

// Catalogue ids the code names (LOCALE_*.txt); the comment is the English text. Labels,
// captions and headings that are only shown keep their number where the control is built.
namespace TextId {

// ---- run details ----------------------------------------------------------------------
inline constexpr int RunDate = 23;        // Run Date
inline constexpr int RunNumber = 44;      // Run Number
inline constexpr int KitBatchNumber = 45; // Kit Batch Number
inline constexpr int Operator = 46;       // Operator
inline constexpr int EnterRunNumber = 49; // Please enter a Run Number.
inline constexpr int EnterBatchNumber = 50;
inline constexpr int EnterOperator = 51;
inline constexpr int Version = 114;
inline constexpr int AnalysisSoftware = 201;

// ---- layout -----------------------------------------------------------------------------
inline constexpr int SubjectIdPrefix = 57;
inline constexpr int ChangeSubjectId = 71;
inline constexpr int RandomBlockIncomplete = 179;
inline constexpr int CancelRandomBlock = 180;
inline constexpr int CancelSessionBlocks = 304;
inline constexpr int InsufficientCells = 181;
inline constexpr int StdBlockName = 148; // Std (a standard's name: "Std 1")

// ---- results ----------------------------------------------------------------------------
inline constexpr int NotSpecified = 64; // N/S
inline constexpr int SubjectId = 72;
inline constexpr int StdHeading = 74;      // Std
inline constexpr int ConcHeading = 75;     // Conc
inline constexpr int MeanHeading = 76;     // Mean
inline constexpr int CvHeading = 77;       // % CV
inline constexpr int QcResultHeading = 78; // QC Result
inline constexpr int Pass = 79;            // PASS
inline constexpr int Fail = 80;            // FAIL
inline constexpr int NotApplicable = 81;   // N/A
inline constexpr int CorrelationCoefficient = 85;
inline constexpr int ValidRun = 87; // Valid ELISA test run.
inline constexpr int CalculatedPlots = 89;
inline constexpr int Yes = 106;
inline constexpr int No = 107;
inline constexpr int RawDataOd = 122;
inline constexpr int StandardsResults = 19;
inline constexpr int Intercept = 83;
inline constexpr int Slope = 84;
inline constexpr int ResultIuPerMl = 94; // Result (IU/mL)
inline constexpr int Results = 95;
inline constexpr int CurveType = 354;
inline constexpr int EightPointCurve = 355; // 8-Point Standard Curve
inline constexpr int FourPointCurve = 356;
inline constexpr int ValidTest = 133;
inline constexpr int CaptionPrefix = 259;
inline constexpr int PlateWashingNote = 258; // the zero standard's mean above 0.150
inline constexpr int InvalidRun = 364;       // WARNING: ELISA test run invalid. ...

// ---- printing -----------------------------------------------------------------------------
inline constexpr int Print = 102;
inline constexpr int Signature = 116;
inline constexpr int Date = 117;
inline constexpr int Printing = 128;
inline constexpr int PrintingAborted = 192;
inline constexpr int PrinterNotPrinting = 202;
inline constexpr int SelectSampleType = 260; // Please select the appropriate Sample Type ...
inline constexpr int ReportTitle = 361;
inline constexpr int PdfFilesToGenerate = 373;
inline constexpr int NoDefaultPrinter = 1150;

// ---- QC trends ----------------------------------------------------------------------------
inline constexpr int QcTrends = 1151; // QC Trends (the tab)
inline constexpr int TrendMetric = 1152;
inline constexpr int AllChoices = 1153; // (all)
inline constexpr int DateFrom = 1154;
inline constexpr int DateTo = 1155;
inline constexpr int ValidRunsOnly = 1156;
inline constexpr int BaselineRuns = 1157;
inline constexpr int TrendRunAxis = 1158; // Run (in order of run date)
inline constexpr int TrendValue = 1159;
inline constexpr int TrendZ = 1160;
inline constexpr int TrendRules = 1161;
inline constexpr int TrendInControl = 1162;
inline constexpr int TrendWarning = 1163; // Warning (1-2s)
inline constexpr int TrendRejection = 1164;
inline constexpr int TrendCurrentRun = 1165;
inline constexpr int TrendMean = 1166;
inline constexpr int TrendSdLine = 1167;   // ±%1 SD
inline constexpr int NoRunRecorded = 1168; // how runs get into the archive
inline constexpr int NoRunMatches = 1169;
inline constexpr int ArchiveUnreadable = 1170; // The run archive cannot be read: %1
inline constexpr int BaselineTooFewRuns = 1171;
inline constexpr int BaselineNoSpread = 1172;
inline constexpr int BaselineSummary = 1173; // Baseline: the first %1 runs, mean %2, SD %3
inline constexpr int TrendRunIndex = 1174;   // No.

// ---- curve diagnostics ------------------------------------------------------------------
inline constexpr int CurveDiagnostics = 1200; // the sub-tab beside the QC trends
inline constexpr int BelowLowestStandardTip = 1201;
inline constexpr int AboveHighestStandardTip = 1202;
inline constexpr int NoCalculatedRun = 1203;
inline constexpr int DiagStandard = 1204;
inline constexpr int DiagNominal = 1205;
inline constexpr int DiagBackCalculated = 1206;
inline constexpr int DiagRecovery = 1207;
inline constexpr int DiagResidual = 1208;
inline constexpr int FitStandardError = 1209; // Standard error of the fit s: %1
inline constexpr int StandardsInOrder = 1210;
inline constexpr int StandardsOutOfOrder = 1211; // Standards out of order: %1. ...
inline constexpr int DiagInterval95 = 1212;
inline constexpr int DiagRange = 1213;
inline constexpr int BelowLowestStandard = 1214;
inline constexpr int AboveHighestStandard = 1215;
inline constexpr int WithinStandards = 1216;

// ---- workbooks ----------------------------------------------------------------------------
inline constexpr int ExportToWorkbook = 1217;     // the export dialog's third choice
inline constexpr int WorkbookNotAssembled = 1218; // the workbook could not be put together (%1)
inline constexpr int WbWells = 1219;
inline constexpr int WbOdNumber = 1220; // OD %1: the replicate's number
inline constexpr int WbMarks = 1221;
inline constexpr int WbUnrounded = 1222;
inline constexpr int WbIntervalLow = 1223;
inline constexpr int WbIntervalHigh = 1224;
inline constexpr int WbAboveRange = 1225;
inline constexpr int WbOdNotNumber = 1226;
inline constexpr int WbNotSpecified = 1227;
inline constexpr int WbRule = 1228;
inline constexpr int WbAppliesTo = 1229;
inline constexpr int WbThreshold = 1230;
inline constexpr int WbMeasured = 1231;
inline constexpr int WbAdvisory = 1232;
inline constexpr int WbRun = 1233;
inline constexpr int WbRunValid = 1234;
inline constexpr int WbVerdict = 1235;
inline constexpr int WbFootnotes = 1236;
inline constexpr int WbStandardsInOrder = 1237;
inline constexpr int WbOutOfOrder = 1238;
inline constexpr int WbFitStandardError = 1239;
inline constexpr int WbBelowLowest = 1240;
inline constexpr int WbAboveHighest = 1241;
inline constexpr int WbOpticalDensities = 1242;
// Names a screen reader gives controls that show no text of their own.
inline constexpr int PageTabs = 1243;
inline constexpr int PreviousPage = 1244;
inline constexpr int NextPage = 1245;
inline constexpr int TrendViews = 1246;
inline constexpr int TrendRuns = 1247;
inline constexpr int PlateLayout = 65;
inline constexpr int SoftwareVersion = 200;
inline constexpr int ConcentrationIuPerMl = 316; // Concentration (IU/mL)

// ---- notices and questions --------------------------------------------------------------
inline constexpr int RawDataCopied = 110; // Raw Data copied to Windows Clipboard.
inline constexpr int ResultsCopied = 149; // Results copied to Windows Clipboard.
inline constexpr int UnsavedData = 105;   // Data is unsaved. Save data?
inline constexpr int DataNotSavedContinue = 272;
inline constexpr int ProgramName = 131;
inline constexpr int RunNotArchived = 1190; // The run was saved, but it was not recorded ... %1
inline constexpr int About = 142;

// ---- refusals ---------------------------------------------------------------------------
inline constexpr int BadArraySize = 118;
inline constexpr int IllegalCharacter = 121;
inline constexpr int FileLoadError = 125;
inline constexpr int InvalidClipboardData = 126;
inline constexpr int OneBlockPerCell = 150;
inline constexpr int MoreStripsThanData = 182;
inline constexpr int NotCalculable = 185;
inline constexpr int UnmatchingCriteria = 371;
inline constexpr int StdConcNotNonNegative = 372; // only non-negative numbers as concentrations
inline constexpr int WellClaimedTwice = 1020;     // The well %1 is claimed twice in the file ...
inline constexpr int StdConcCount = 1021;         // The file's curve type has %1 standards, but ...
inline constexpr int TooManyStandardSeries = 1022;
inline constexpr int NulInMarkedText = 1023; // The file holds a NUL character ...
inline constexpr int WellNotCalculable = 1024;
inline constexpr int StdConcRange = 1025;
inline constexpr int NoSuchFile = 1100;
inline constexpr int IsFolder = 1101;
inline constexpr int NotRegularFile = 1102;

} // namespace TextId
