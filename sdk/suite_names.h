// Names and versions of the host suites the plug-in binds around every message.
// Each suite's function table is defined by that suite's own header.
#pragma once

#include <cstdint>

struct SPBlocksSuite;
struct SPAccessSuite;
struct AIMdMemorySuite;
struct AIRealMathSuite;
struct AIArtSuite;
struct AIPathSuite;
struct AIDocumentSuite;
struct AIDocumentViewSuite;
struct AIUserInterfaceThemeSuite;
struct AIPanelSuite;
struct AIPanelFlyoutMenuSuite;
struct AILayerSuite;
struct AIUserSuite;
struct AIRuntimeSuite;
struct AIDataFilterSuite;
struct AIPathStyleSuite;
struct AIUndoSuite;
struct AIATETextUtilSuite;
struct AITextFrameSuite;
struct AIFontSuite;
struct AIForeignObjectSuite;
struct AIATEPaintSuite;
struct AIHardSoftSuite;
struct ATEApplicationPaintSuite;
struct ATECompFontSuite;
struct ATECompFontClassSuite;
struct ATECompFontClassSetSuite;
struct ATECompFontComponentSuite;
struct ATECompFontSetSuite;
struct ATEGlyphRunSuite;
struct ATEGlyphRunsIteratorSuite;
struct ATEMojiKumiSuite;
struct ATEMojiKumiSetSuite;
struct ATETextFrameSuite;
struct ATETextFramesIteratorSuite;
struct ATETextLineSuite;
struct ATETextLinesIteratorSuite;
struct ATETextResourcesSuite;
struct ATEApplicationTextResourcesSuite;
struct ATEDocumentTextResourcesSuite;
struct ATEArrayApplicationPaintRefSuite;
struct ATEArrayRealSuite;
struct ATEArrayBoolSuite;
struct ATEArrayIntegerSuite;
struct ATEArrayLineCapTypeSuite;
struct ATEArrayFigureStyleSuite;
struct ATEArrayLineJoinTypeSuite;
struct ATEArrayWariChuJustificationSuite;
struct ATEArrayStyleRunAlignmentSuite;
struct ATEArrayAutoKernTypeSuite;
struct ATEArrayBaselineDirectionSuite;
struct ATEArrayLanguageSuite;
struct ATEArrayFontCapsOptionSuite;
struct ATEArrayFontBaselineOptionSuite;
struct ATEArrayParagraphJustificationSuite;
struct ATEArrayArrayRealSuite;
struct ATEArrayBurasagariTypeSuite;
struct ATEArrayPreferredKinsokuOrderSuite;
struct ATEArrayKinsokuRefSuite;
struct ATEArrayMojiKumiRefSuite;
struct ATEArrayMojiKumiSetRefSuite;
struct ATEArrayTabStopsRefSuite;
struct ATEArrayLeadingTypeSuite;
struct ATEArrayFontRefSuite;
struct ATEArrayGlyphIDSuite;
struct ATEArrayRealPointSuite;
struct ATEArrayRealMatrixSuite;
struct ATECharFeaturesSuite;
struct ATECharInspectorSuite;
struct ATECharStyleSuite;
struct ATECharStylesSuite;
struct ATECharStylesIteratorSuite;
struct ATEFindSuite;
struct ATEFontSuite;
struct ATEGlyphSuite;
struct ATEGlyphsSuite;
struct ATEGlyphsIteratorSuite;
struct ATEKinsokuSuite;
struct ATEKinsokuSetSuite;
struct ATEParaFeaturesSuite;
struct ATEParagraphSuite;
struct ATEParagraphsIteratorSuite;
struct ATEParaInspectorSuite;
struct ATEParaStyleSuite;
struct ATEParaStylesSuite;
struct ATEParaStylesIteratorSuite;
struct ATESpellSuite;
struct ATEStoriesSuite;
struct ATEStorySuite;
struct ATETabStopSuite;
struct ATETabStopsSuite;
struct ATETabStopsIteratorSuite;
struct ATETextRangeSuite;
struct ATETextRangesSuite;
struct ATETextRangesIteratorSuite;
struct ATETextRunsIteratorSuite;
struct ATEWordsIteratorSuite;
struct AIContextSuite;
struct AIPreferenceSuite;
struct AIPathfinderSuite;
struct AIFileFormatSuite;
struct AIPluginGroupSuite;
struct AITransformArtSuite;
struct AIMaskSuite;
struct AIBlendStyleSuite;
struct AIDictionarySuite;
struct AIDictionaryIteratorSuite;
struct AIArtStyleSuite;
struct AISymbolSuite;
struct AIMenuSuite;
struct AIToolSuite;
struct AIUnicodeStringSuite;
struct AIFilePathSuite;

#define kSPBlocksSuite "SP Blocks Suite"
constexpr int32_t kSPBlocksSuiteVersion = 2;
#define kSPAccessSuite "SP Access Suite"
constexpr int32_t kSPAccessSuiteVersion = 3;
#define kAIMdMemorySuite "AI MdMemory Suite"
constexpr int32_t kAIMdMemorySuiteVersion = 3;
#define kAIRealMathSuite "AI Real Math Suite"
constexpr int32_t kAIRealMathSuiteVersion = 4;
#define kAIArtSuite "AI Art Suite"
constexpr int32_t kAIArtSuiteVersion = 20;
#define kAIPathSuite "AI Path Suite"
constexpr int32_t kAIPathSuiteVersion = 12;
#define kAIDocumentSuite "AI Document Suite"
constexpr int32_t kAIDocumentSuiteVersion = 17;
#define kAIDocumentViewSuite "AI Document View Suite"
constexpr int32_t kAIDocumentViewSuiteVersion = 14;
#define kAIUserInterfaceThemeSuite "AI User Interface Theme Suite"
constexpr int32_t kAIUserInterfaceThemeSuiteVersion = 2;
#define kAIPanelSuite "AI Panel Suite"
constexpr int32_t kAIPanelSuiteVersion = 4;
#define kAIPanelFlyoutMenuSuite "AI Panel Flyout Menu Suite"
constexpr int32_t kAIPanelFlyoutMenuSuiteVersion = 2;
#define kAILayerSuite "AI Layer Suite"
constexpr int32_t kAILayerSuiteVersion = 13;
#define kAIUserSuite "AI User Suite"
constexpr int32_t kAIUserSuiteVersion = 17;
#define kAIRuntimeSuite "AI Runtime Suite"
constexpr int32_t kAIRuntimeSuiteVersion = 13;
#define kAIDataFilterSuite "AI Data Filter Suite"
constexpr int32_t kAIDataFilterSuiteVersion = 9;
#define kAIPathStyleSuite "AI Path Style Suite"
constexpr int32_t kAIPathStyleSuiteVersion = 14;
#define kAIUndoSuite "AI Undo Suite"
constexpr int32_t kAIUndoSuiteVersion = 9;
#define kAIATETextUtilSuite "AI ATE Text Util Suite"
constexpr int32_t kAIATETextUtilSuiteVersion = 4;
#define kAITextFrameSuite "AI Text Frame Suite"
constexpr int32_t kAITextFrameSuiteVersion = 4;
#define kAIFontSuite "AI Font Suite"
constexpr int32_t kAIFontSuiteVersion = 6;
#define kAIForeignObjectSuite "AI Foreign Object Suite"
constexpr int32_t kAIForeignObjectSuiteVersion = 4;
#define kAIATEPaintSuite "AIATE Paint Suite"
constexpr int32_t kAIATEPaintSuiteVersion = 3;
#define kAIHardSoftSuite "AI Hard Soft Suite"
constexpr int32_t kAIHardSoftSuiteVersion = 6;
#define kATEApplicationPaintSuite "ATE ApplicationPaint Suite"
constexpr int32_t kATEApplicationPaintSuiteVersion = 1;
#define kATECompFontSuite "ATE CompFont Suite"
constexpr int32_t kATECompFontSuiteVersion = 1;
#define kATECompFontClassSuite "ATE CompFontClass Suite"
constexpr int32_t kATECompFontClassSuiteVersion = 1;
#define kATECompFontClassSetSuite "ATE CompFontClassSet Suite"
constexpr int32_t kATECompFontClassSetSuiteVersion = 1;
#define kATECompFontComponentSuite "ATE CompFontComponent Suite"
constexpr int32_t kATECompFontComponentSuiteVersion = 1;
#define kATECompFontSetSuite "ATE CompFontSet Suite"
constexpr int32_t kATECompFontSetSuiteVersion = 1;
#define kATEGlyphRunSuite "ATE GlyphRun Suite"
constexpr int32_t kATEGlyphRunSuiteVersion = 1;
#define kATEGlyphRunsIteratorSuite "ATE GlyphRunsIterator Suite"
constexpr int32_t kATEGlyphRunsIteratorSuiteVersion = 1;
#define kATEMojiKumiSuite "ATE MojiKumi Suite"
constexpr int32_t kATEMojiKumiSuiteVersion = 1;
#define kATEMojiKumiSetSuite "ATE MojiKumiSet Suite"
constexpr int32_t kATEMojiKumiSetSuiteVersion = 1;
#define kATETextFrameSuite "ATE TextFrame Suite"
constexpr int32_t kATETextFrameSuiteVersion = 101;
#define kATETextFramesIteratorSuite "ATE TextFramesIterator Suite"
constexpr int32_t kATETextFramesIteratorSuiteVersion = 1;
#define kATETextLineSuite "ATE TextLine Suite"
constexpr int32_t kATETextLineSuiteVersion = 2;
#define kATETextLinesIteratorSuite "ATE TextLinesIterator Suite"
constexpr int32_t kATETextLinesIteratorSuiteVersion = 1;
#define kATETextResourcesSuite "ATE TextResources Suite"
constexpr int32_t kATETextResourcesSuiteVersion = 1;
#define kATEApplicationTextResourcesSuite "ATE ApplicationTextResources Suite"
constexpr int32_t kATEApplicationTextResourcesSuiteVersion = 1;
#define kATEDocumentTextResourcesSuite "ATE DocumentTextResources Suite"
constexpr int32_t kATEDocumentTextResourcesSuiteVersion = 101;
#define kATEArrayApplicationPaintRefSuite "ATE ArrayApplicationPaintRef Suite"
constexpr int32_t kATEArrayApplicationPaintRefSuiteVersion = 1;
#define kATEArrayRealSuite "ATE ArrayReal Suite"
constexpr int32_t kATEArrayRealSuiteVersion = 1;
#define kATEArrayBoolSuite "ATE ArrayBool Suite"
constexpr int32_t kATEArrayBoolSuiteVersion = 1;
#define kATEArrayIntegerSuite "ATE ArrayInteger Suite"
constexpr int32_t kATEArrayIntegerSuiteVersion = 1;
#define kATEArrayLineCapTypeSuite "ATE ArrayLineCapType Suite"
constexpr int32_t kATEArrayLineCapTypeSuiteVersion = 1;
#define kATEArrayFigureStyleSuite "ATE ArrayFigureStyle Suite"
constexpr int32_t kATEArrayFigureStyleSuiteVersion = 1;
#define kATEArrayLineJoinTypeSuite "ATE ArrayLineJoinType Suite"
constexpr int32_t kATEArrayLineJoinTypeSuiteVersion = 1;
#define kATEArrayWariChuJustificationSuite "ATE ArrayWariChuJustification Suite"
constexpr int32_t kATEArrayWariChuJustificationSuiteVersion = 1;
#define kATEArrayStyleRunAlignmentSuite "ATE ArrayStyleRunAlignment Suite"
constexpr int32_t kATEArrayStyleRunAlignmentSuiteVersion = 1;
#define kATEArrayAutoKernTypeSuite "ATE ArrayAutoKernType Suite"
constexpr int32_t kATEArrayAutoKernTypeSuiteVersion = 1;
#define kATEArrayBaselineDirectionSuite "ATE ArrayBaselineDirection Suite"
constexpr int32_t kATEArrayBaselineDirectionSuiteVersion = 1;
#define kATEArrayLanguageSuite "ATE ArrayLanguage Suite"
constexpr int32_t kATEArrayLanguageSuiteVersion = 1;
#define kATEArrayFontCapsOptionSuite "ATE ArrayFontCapsOption Suite"
constexpr int32_t kATEArrayFontCapsOptionSuiteVersion = 1;
#define kATEArrayFontBaselineOptionSuite "ATE ArrayFontBaselineOption Suite"
constexpr int32_t kATEArrayFontBaselineOptionSuiteVersion = 1;
#define kATEArrayParagraphJustificationSuite "ATE ArrayParagraphJustification Suite"
constexpr int32_t kATEArrayParagraphJustificationSuiteVersion = 1;
#define kATEArrayArrayRealSuite "ATE ArrayArrayReal Suite"
constexpr int32_t kATEArrayArrayRealSuiteVersion = 1;
#define kATEArrayBurasagariTypeSuite "ATE ArrayBurasagariType Suite"
constexpr int32_t kATEArrayBurasagariTypeSuiteVersion = 1;
#define kATEArrayPreferredKinsokuOrderSuite "ATE ArrayPreferredKinsokuOrder Suite"
constexpr int32_t kATEArrayPreferredKinsokuOrderSuiteVersion = 1;
#define kATEArrayKinsokuRefSuite "ATE ArrayKinsokuRef Suite"
constexpr int32_t kATEArrayKinsokuRefSuiteVersion = 1;
#define kATEArrayMojiKumiRefSuite "ATE ArrayMojiKumiRef Suite"
constexpr int32_t kATEArrayMojiKumiRefSuiteVersion = 1;
#define kATEArrayMojiKumiSetRefSuite "ATE ArrayMojiKumiSetRef Suite"
constexpr int32_t kATEArrayMojiKumiSetRefSuiteVersion = 1;
#define kATEArrayTabStopsRefSuite "ATE ArrayTabStopsRef Suite"
constexpr int32_t kATEArrayTabStopsRefSuiteVersion = 1;
#define kATEArrayLeadingTypeSuite "ATE ArrayLeadingType Suite"
constexpr int32_t kATEArrayLeadingTypeSuiteVersion = 1;
#define kATEArrayFontRefSuite "ATE ArrayFontRef Suite"
constexpr int32_t kATEArrayFontRefSuiteVersion = 1;
#define kATEArrayGlyphIDSuite "ATE ArrayGlyphID Suite"
constexpr int32_t kATEArrayGlyphIDSuiteVersion = 1;
#define kATEArrayRealPointSuite "ATE ArrayRealPoint Suite"
constexpr int32_t kATEArrayRealPointSuiteVersion = 1;
#define kATEArrayRealMatrixSuite "ATE ArrayRealMatrix Suite"
constexpr int32_t kATEArrayRealMatrixSuiteVersion = 1;
#define kATECharFeaturesSuite "ATE CharFeatures Suite"
constexpr int32_t kATECharFeaturesSuiteVersion = 102;
#define kATECharInspectorSuite "ATE CharInspector Suite"
constexpr int32_t kATECharInspectorSuiteVersion = 102;
#define kATECharStyleSuite "ATE CharStyle Suite"
constexpr int32_t kATECharStyleSuiteVersion = 1;
#define kATECharStylesSuite "ATE CharStyles Suite"
constexpr int32_t kATECharStylesSuiteVersion = 1;
#define kATECharStylesIteratorSuite "ATE CharStylesIterator Suite"
constexpr int32_t kATECharStylesIteratorSuiteVersion = 1;
#define kATEFindSuite "ATE Find Suite"
constexpr int32_t kATEFindSuiteVersion = 101;
#define kATEFontSuite "ATE Font Suite"
constexpr int32_t kATEFontSuiteVersion = 1;
#define kATEGlyphSuite "ATE Glyph Suite"
constexpr int32_t kATEGlyphSuiteVersion = 1;
#define kATEGlyphsSuite "ATE Glyphs Suite"
constexpr int32_t kATEGlyphsSuiteVersion = 1;
#define kATEGlyphsIteratorSuite "ATE GlyphsIterator Suite"
constexpr int32_t kATEGlyphsIteratorSuiteVersion = 1;
#define kATEKinsokuSuite "ATE Kinsoku Suite"
constexpr int32_t kATEKinsokuSuiteVersion = 1;
#define kATEKinsokuSetSuite "ATE KinsokuSet Suite"
constexpr int32_t kATEKinsokuSetSuiteVersion = 1;
#define kATEParaFeaturesSuite "ATE ParaFeatures Suite"
constexpr int32_t kATEParaFeaturesSuiteVersion = 101;
#define kATEParagraphSuite "ATE Paragraph Suite"
constexpr int32_t kATEParagraphSuiteVersion = 1;
#define kATEParagraphsIteratorSuite "ATE ParagraphsIterator Suite"
constexpr int32_t kATEParagraphsIteratorSuiteVersion = 1;
#define kATEParaInspectorSuite "ATE ParaInspector Suite"
constexpr int32_t kATEParaInspectorSuiteVersion = 101;
#define kATEParaStyleSuite "ATE ParaStyle Suite"
constexpr int32_t kATEParaStyleSuiteVersion = 1;
#define kATEParaStylesSuite "ATE ParaStyles Suite"
constexpr int32_t kATEParaStylesSuiteVersion = 1;
#define kATEParaStylesIteratorSuite "ATE ParaStylesIterator Suite"
constexpr int32_t kATEParaStylesIteratorSuiteVersion = 1;
#define kATESpellSuite "ATE Spell Suite"
constexpr int32_t kATESpellSuiteVersion = 102;
#define kATEStoriesSuite "ATE Stories Suite"
constexpr int32_t kATEStoriesSuiteVersion = 1;
#define kATEStorySuite "ATE Story Suite"
constexpr int32_t kATEStorySuiteVersion = 1;
#define kATETabStopSuite "ATE TabStop Suite"
constexpr int32_t kATETabStopSuiteVersion = 1;
#define kATETabStopsSuite "ATE TabStops Suite"
constexpr int32_t kATETabStopsSuiteVersion = 1;
#define kATETabStopsIteratorSuite "ATE TabStopsIterator Suite"
constexpr int32_t kATETabStopsIteratorSuiteVersion = 1;
#define kATETextRangeSuite "ATE TextRange Suite"
constexpr int32_t kATETextRangeSuiteVersion = 1;
#define kATETextRangesSuite "ATE TextRanges Suite"
constexpr int32_t kATETextRangesSuiteVersion = 1;
#define kATETextRangesIteratorSuite "ATE TextRangesIterator Suite"
constexpr int32_t kATETextRangesIteratorSuiteVersion = 1;
#define kATETextRunsIteratorSuite "ATE TextRunsIterator Suite"
constexpr int32_t kATETextRunsIteratorSuiteVersion = 1;
#define kATEWordsIteratorSuite "ATE WordsIterator Suite"
constexpr int32_t kATEWordsIteratorSuiteVersion = 1;
#define kAIContextSuite "AI Context Suite"
constexpr int32_t kAIContextSuiteVersion = 10;
#define kAIPreferenceSuite "AI Preference Suite"
constexpr int32_t kAIPreferenceSuiteVersion = 7;
#define kAIPathfinderSuite "AI Pathfinder Suite"
constexpr int32_t kAIPathfinderSuiteVersion = 6;
#define kAIFileFormatSuite "AI File Format Suite"
constexpr int32_t kAIFileFormatSuiteVersion = 15;
#define kAIPluginGroupSuite "AI Plugin Group Suite"
constexpr int32_t kAIPluginGroupSuiteVersion = 6;
#define kAITransformArtSuite "AI Transform Art Suite"
constexpr int32_t kAITransformArtSuiteVersion = 3;
#define kAIMaskSuite "AI Mask Suite"
constexpr int32_t kAIMaskSuiteVersion = 5;
#define kAIBlendStyleSuite "AI Blend Style Suite"
constexpr int32_t kAIBlendStyleSuiteVersion = 5;
#define kAIDictionarySuite "AI Dictionary Suite"
constexpr int32_t kAIDictionarySuiteVersion = 10;
#define kAIDictionaryIteratorSuite "AI Dictionary Iterator Suite"
constexpr int32_t kAIDictionaryIteratorSuiteVersion = 5;
#define kAIArtStyleSuite "AI Art Style Suite"
constexpr int32_t kAIArtStyleSuiteVersion = 8;
#define kAISymbolSuite "AI Symbol Suite"
constexpr int32_t kAISymbolSuiteVersion = 8;
#define kAIMenuSuite "AI Menu Suite"
constexpr int32_t kAIMenuSuiteVersion = 11;
#define kAIToolSuite "AI Tool Suite"
constexpr int32_t kAIToolSuiteVersion = 19;
#define kAIUnicodeStringSuite "AI Unicode String Suite"
constexpr int32_t kAIUnicodeStringSuiteVersion = 8;
#define kAIFilePathSuite "AI File Path Suite"
constexpr int32_t kAIFilePathSuiteVersion = 6;
