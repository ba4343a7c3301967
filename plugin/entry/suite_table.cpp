#include "plugin/entry/suite_table.h"

const SPBlocksSuite* sSPBlocks = nullptr;
const SPAccessSuite* sSPAccess = nullptr;
const AIMdMemorySuite* sAIMdMemory = nullptr;
const AIRealMathSuite* sAIRealMath = nullptr;
const AIArtSuite* sAIArt = nullptr;
const AIPathSuite* sAIPath = nullptr;
const AIDocumentSuite* sAIDocument = nullptr;
const AIDocumentViewSuite* sAIDocumentView = nullptr;
const AIUserInterfaceThemeSuite* sAIUserInterfaceTheme = nullptr;
const AIPanelSuite* sAIPanel = nullptr;
const AIPanelFlyoutMenuSuite* sAIPanelFlyoutMenu = nullptr;
const AILayerSuite* sAILayer = nullptr;
const AIUserSuite* sAIUser = nullptr;
const AIRuntimeSuite* sAIRuntime = nullptr;
const AIDataFilterSuite* sAIDataFilter = nullptr;
const AIPathStyleSuite* sAIPathStyle = nullptr;
const AIUndoSuite* sAIUndo = nullptr;
const AIATETextUtilSuite* sAIATETextUtil = nullptr;
const AITextFrameSuite* sAITextFrame = nullptr;
const AIFontSuite* sAIFont = nullptr;
const AIForeignObjectSuite* sAIForeignObject = nullptr;
const AIATEPaintSuite* sAIATEPaint = nullptr;
const AIHardSoftSuite* sAIHardSoft = nullptr;
const ATEApplicationPaintSuite* sATEApplicationPaint = nullptr;
const ATECompFontSuite* sATECompFont = nullptr;
const ATECompFontClassSuite* sATECompFontClass = nullptr;
const ATECompFontClassSetSuite* sATECompFontClassSet = nullptr;
const ATECompFontComponentSuite* sATECompFontComponent = nullptr;
const ATECompFontSetSuite* sATECompFontSet = nullptr;
const ATEGlyphRunSuite* sATEGlyphRun = nullptr;
const ATEGlyphRunsIteratorSuite* sATEGlyphRunsIterator = nullptr;
const ATEMojiKumiSuite* sATEMojiKumi = nullptr;
const ATEMojiKumiSetSuite* sATEMojiKumiSet = nullptr;
const ATETextFrameSuite* sATETextFrame = nullptr;
const ATETextFramesIteratorSuite* sATETextFramesIterator = nullptr;
const ATETextLineSuite* sATETextLine = nullptr;
const ATETextLinesIteratorSuite* sATETextLinesIterator = nullptr;
const ATETextResourcesSuite* sATETextResources = nullptr;
const ATEApplicationTextResourcesSuite* sATEApplicationTextResources = nullptr;
const ATEDocumentTextResourcesSuite* sATEDocumentTextResources = nullptr;
const ATEArrayApplicationPaintRefSuite* sATEArrayApplicationPaintRef = nullptr;
const ATEArrayRealSuite* sATEArrayReal = nullptr;
const ATEArrayBoolSuite* sATEArrayBool = nullptr;
const ATEArrayIntegerSuite* sATEArrayInteger = nullptr;
const ATEArrayLineCapTypeSuite* sATEArrayLineCapType = nullptr;
const ATEArrayFigureStyleSuite* sATEArrayFigureStyle = nullptr;
const ATEArrayLineJoinTypeSuite* sATEArrayLineJoinType = nullptr;
const ATEArrayWariChuJustificationSuite* sATEArrayWariChuJustification = nullptr;
const ATEArrayStyleRunAlignmentSuite* sATEArrayStyleRunAlignment = nullptr;
const ATEArrayAutoKernTypeSuite* sATEArrayAutoKernType = nullptr;
const ATEArrayBaselineDirectionSuite* sATEArrayBaselineDirection = nullptr;
const ATEArrayLanguageSuite* sATEArrayLanguage = nullptr;
const ATEArrayFontCapsOptionSuite* sATEArrayFontCapsOption = nullptr;
const ATEArrayFontBaselineOptionSuite* sATEArrayFontBaselineOption = nullptr;
const ATEArrayParagraphJustificationSuite* sATEArrayParagraphJustification = nullptr;
const ATEArrayArrayRealSuite* sATEArrayArrayReal = nullptr;
const ATEArrayBurasagariTypeSuite* sATEArrayBurasagariType = nullptr;
const ATEArrayPreferredKinsokuOrderSuite* sATEArrayPreferredKinsokuOrder = nullptr;
const ATEArrayKinsokuRefSuite* sATEArrayKinsokuRef = nullptr;
const ATEArrayMojiKumiRefSuite* sATEArrayMojiKumiRef = nullptr;
const ATEArrayMojiKumiSetRefSuite* sATEArrayMojiKumiSetRef = nullptr;
const ATEArrayTabStopsRefSuite* sATEArrayTabStopsRef = nullptr;
const ATEArrayLeadingTypeSuite* sATEArrayLeadingType = nullptr;
const ATEArrayFontRefSuite* sATEArrayFontRef = nullptr;
const ATEArrayGlyphIDSuite* sATEArrayGlyphID = nullptr;
const ATEArrayRealPointSuite* sATEArrayRealPoint = nullptr;
const ATEArrayRealMatrixSuite* sATEArrayRealMatrix = nullptr;
const ATECharFeaturesSuite* sATECharFeatures = nullptr;
const ATECharInspectorSuite* sATECharInspector = nullptr;
const ATECharStyleSuite* sATECharStyle = nullptr;
const ATECharStylesSuite* sATECharStyles = nullptr;
const ATECharStylesIteratorSuite* sATECharStylesIterator = nullptr;
const ATEFindSuite* sATEFind = nullptr;
const ATEFontSuite* sATEFont = nullptr;
const ATEGlyphSuite* sATEGlyph = nullptr;
const ATEGlyphsSuite* sATEGlyphs = nullptr;
const ATEGlyphsIteratorSuite* sATEGlyphsIterator = nullptr;
const ATEKinsokuSuite* sATEKinsoku = nullptr;
const ATEKinsokuSetSuite* sATEKinsokuSet = nullptr;
const ATEParaFeaturesSuite* sATEParaFeatures = nullptr;
const ATEParagraphSuite* sATEParagraph = nullptr;
const ATEParagraphsIteratorSuite* sATEParagraphsIterator = nullptr;
const ATEParaInspectorSuite* sATEParaInspector = nullptr;
const ATEParaStyleSuite* sATEParaStyle = nullptr;
const ATEParaStylesSuite* sATEParaStyles = nullptr;
const ATEParaStylesIteratorSuite* sATEParaStylesIterator = nullptr;
const ATESpellSuite* sATESpell = nullptr;
const ATEStoriesSuite* sATEStories = nullptr;
const ATEStorySuite* sATEStory = nullptr;
const ATETabStopSuite* sATETabStop = nullptr;
const ATETabStopsSuite* sATETabStops = nullptr;
const ATETabStopsIteratorSuite* sATETabStopsIterator = nullptr;
const ATETextRangeSuite* sATETextRange = nullptr;
const ATETextRangesSuite* sATETextRanges = nullptr;
const ATETextRangesIteratorSuite* sATETextRangesIterator = nullptr;
const ATETextRunsIteratorSuite* sATETextRunsIterator = nullptr;
const ATEWordsIteratorSuite* sATEWordsIterator = nullptr;
const AIContextSuite* sAIContext = nullptr;
const AIPreferenceSuite* sAIPreference = nullptr;
const AIPathfinderSuite* sAIPathfinder = nullptr;
const AIFileFormatSuite* sAIFileFormat = nullptr;
const AIPluginGroupSuite* sAIPluginGroup = nullptr;
const AITransformArtSuite* sAITransformArt = nullptr;
const AIMaskSuite* sAIMask = nullptr;
const AIBlendStyleSuite* sAIBlendStyle = nullptr;
const AIDictionarySuite* sAIDictionary = nullptr;
const AIDictionaryIteratorSuite* sAIDictionaryIterator = nullptr;
const AIArtStyleSuite* sAIArtStyle = nullptr;
const AISymbolSuite* sAISymbol = nullptr;
const AIMenuSuite* sAIMenu = nullptr;
const AIToolSuite* sAITool = nullptr;
const AIUnicodeStringSuite* sAIUnicodeString = nullptr;
const AIFilePathSuite* sAIFilePath = nullptr;

#define ROW(id) { k##id##Suite, k##id##SuiteVersion, reinterpret_cast<const void**>(&s##id) }

const SuiteRow SuiteTable[kSuiteCount] = {
    ROW(SPBlocks),
    ROW(SPAccess),
    ROW(AIMdMemory),
    ROW(AIRealMath),
    ROW(AIArt),
    ROW(AIPath),
    ROW(AIDocument),
    ROW(AIDocumentView),
    ROW(AIUserInterfaceTheme),
    ROW(AIPanel),
    ROW(AIPanelFlyoutMenu),
    ROW(AILayer),
    ROW(AIUser),
    ROW(AIRuntime),
    ROW(AIDataFilter),
    ROW(AIPathStyle),
    ROW(AIUndo),
    ROW(AIATETextUtil),
    ROW(AITextFrame),
    ROW(AIFont),
    ROW(AIForeignObject),
    ROW(AIATEPaint),
    ROW(AIHardSoft),
    ROW(ATEApplicationPaint),
    ROW(ATECompFont),
    ROW(ATECompFontClass),
    ROW(ATECompFontClassSet),
    ROW(ATECompFontComponent),
    ROW(ATECompFontSet),
    ROW(ATEGlyphRun),
    ROW(ATEGlyphRunsIterator),
    ROW(ATEMojiKumi),
    ROW(ATEMojiKumiSet),
    ROW(ATETextFrame),
    ROW(ATETextFramesIterator),
    ROW(ATETextLine),
    ROW(ATETextLinesIterator),
    ROW(ATETextResources),
    ROW(ATEApplicationTextResources),
    ROW(ATEDocumentTextResources),
    ROW(ATEArrayApplicationPaintRef),
    ROW(ATEArrayReal),
    ROW(ATEArrayBool),
    ROW(ATEArrayInteger),
    ROW(ATEArrayLineCapType),
    ROW(ATEArrayFigureStyle),
    ROW(ATEArrayLineJoinType),
    ROW(ATEArrayWariChuJustification),
    ROW(ATEArrayStyleRunAlignment),
    ROW(ATEArrayAutoKernType),
    ROW(ATEArrayBaselineDirection),
    ROW(ATEArrayLanguage),
    ROW(ATEArrayFontCapsOption),
    ROW(ATEArrayFontBaselineOption),
    ROW(ATEArrayParagraphJustification),
    ROW(ATEArrayArrayReal),
    ROW(ATEArrayBurasagariType),
    ROW(ATEArrayPreferredKinsokuOrder),
    ROW(ATEArrayKinsokuRef),
    ROW(ATEArrayMojiKumiRef),
    ROW(ATEArrayMojiKumiSetRef),
    ROW(ATEArrayTabStopsRef),
    ROW(ATEArrayLeadingType),
    ROW(ATEArrayFontRef),
    ROW(ATEArrayGlyphID),
    ROW(ATEArrayRealPoint),
    ROW(ATEArrayRealMatrix),
    ROW(ATECharFeatures),
    ROW(ATECharInspector),
    ROW(ATECharStyle),
    ROW(ATECharStyles),
    ROW(ATECharStylesIterator),
    ROW(ATEFind),
    ROW(ATEFont),
    ROW(ATEGlyph),
    ROW(ATEGlyphs),
    ROW(ATEGlyphsIterator),
    ROW(ATEKinsoku),
    ROW(ATEKinsokuSet),
    ROW(ATEParaFeatures),
    ROW(ATEParagraph),
    ROW(ATEParagraphsIterator),
    ROW(ATEParaInspector),
    ROW(ATEParaStyle),
    ROW(ATEParaStyles),
    ROW(ATEParaStylesIterator),
    ROW(ATESpell),
    ROW(ATEStories),
    ROW(ATEStory),
    ROW(ATETabStop),
    ROW(ATETabStops),
    ROW(ATETabStopsIterator),
    ROW(ATETextRange),
    ROW(ATETextRanges),
    ROW(ATETextRangesIterator),
    ROW(ATETextRunsIterator),
    ROW(ATEWordsIterator),
    ROW(AIContext),
    ROW(AIPreference),
    ROW(AIPathfinder),
    ROW(AIFileFormat),
    ROW(AIPluginGroup),
    ROW(AITransformArt),
    ROW(AIMask),
    ROW(AIBlendStyle),
    ROW(AIDictionary),
    ROW(AIDictionaryIterator),
    ROW(AIArtStyle),
    ROW(AISymbol),
    ROW(AIMenu),
    ROW(AITool),
    ROW(AIUnicodeString),
    ROW(AIFilePath),
};

static_assert(sizeof(SuiteTable) / sizeof(SuiteTable[0]) == kSuiteCount);

