#include "core/Exceptions.h"
#include "core/UiTextManager.h"
#include "plate/CellBlockRect.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

class CellBlockTest : public ::testing::Test
{
protected:
    static std::unique_ptr<OWCellBlockRectCombined> Block(bool isStandard, int valueCount = 0)
    {
        auto block = std::make_unique<OWCellBlockRectCombined>();
        block->setId(isStandard ? u"S1"_s : u"ID 1"_s, isStandard);
        block->SetValueCount(valueCount);
        return block;
    }
};

TEST_F(CellBlockTest, NewBlock_HasEmptyDefaults)
{
    OWCellBlockRectCombined block;
    EXPECT_EQ(block.Count(), 0);
    EXPECT_EQ(block.ValueCount(), 0);
    EXPECT_FALSE(block.getIsStandard());
    EXPECT_EQ(block.FixedID(), 0);
    EXPECT_EQ(block.GetCriteriaType(), 0);
    EXPECT_EQ(block.ResultType(), RT_NOTSET);
    EXPECT_EQ(block.CellExceptionType(), TCellExceptionTypes{CELLEX_NONE});
    for (int i = 0; i < OWCellBlockBase::ResultSlotCount; ++i) {
        EXPECT_EQ(block.getResultLn(i), 0.0);
        EXPECT_TRUE(block.getResult(i).isEmpty());
        EXPECT_FALSE(block.getAnnotationExists(i));
    }
}

struct TextCase
{
    const char *text;
    bool regional; // written with "." and turned into the regional separator
    bool numeric;
    double value;
    TValidityType validity;
};

TEST_F(CellBlockTest, SetValueFromText_ClassifiesAndKeepsRawTextVerbatim)
{
    const TextCase cases[] = {
        {"0.123", true, true, 0.123, ValidValue},
        {"-0.050", true, true, -0.05, ValidValue},
        {" 1.5 ", true, true, 1.5, ValidValue},
        {"2", false, true, 2.0, ValidValue},
        {"N/S", false, false, 0.0, ValueNotSpecified},
        {"OVER", false, false, 4.0, ValueNotNumerical},
        {"", false, false, 4.0, ValueNotNumerical},
        {"n/s", false, false, 0.0, ValueNotSpecified},
        {"N\\S", false, false, 0.0, ValueNotSpecified},
        {"VALUE_NOT_SPECIFIED", false, false, 0.0, ValueNotSpecified},
        {" Ausente ", false, false, 0.0, ValueNotSpecified},
        {"N/S/", false, false, 4.0, ValueNotNumerical},
        {"1e999", false, false, 4.0, ValueNotNumerical}, // not a finite OD
    };
    auto block = Block(false, 1);
    for (const TextCase &c : cases) {
        const QString text = c.regional ? TestSupport::Dec(c.text) : QString::fromUtf8(c.text);
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(block->setValueFromText(0, text), c.numeric);
        EXPECT_EQ(block->getRawValue(0), text);
        EXPECT_DOUBLE_EQ(block->getValue(0), c.value);
        EXPECT_EQ(block->getValidityValue(0), c.validity);
    }
}

TEST_F(CellBlockTest, SetValueFromText_OtherDecimalSeparatorIsNotNumerical)
{
    auto block = Block(false, 1);
    const QString foreign = TestSupport::CommaVariant() ? u"0.512"_s : u"0,512"_s;
    EXPECT_FALSE(block->setValueFromText(0, foreign));
    EXPECT_EQ(block->getValidityValue(0), ValueNotNumerical);
    EXPECT_DOUBLE_EQ(block->getValue(0), 4.0);
}

// A plate keeps the marker of the language it was pasted in; a switch of language must not
// turn those wells into non-numerical ODs.
TEST_F(CellBlockTest, SetValueFromText_EveryLanguagesMarkerInEveryLanguage_IsNotSpecified)
{
    auto block = Block(false, 1);
    for (int language = 0; language < 8; ++language) {
        GetTranslationManager().LoadResource(language);
        for (const QString &marker : NotSpecifiedMarkers()) {
            SCOPED_TRACE(GetTranslationManager().GetResourceId().toStdString() + " " + marker.toStdString());
            EXPECT_FALSE(block->setValueFromText(0, marker));
            EXPECT_EQ(block->getValidityValue(0), ValueNotSpecified);
            EXPECT_DOUBLE_EQ(block->getValue(0), 0.0);
        }
    }
}

TEST_F(CellBlockTest, ValueAccess_OutsideInputValues)
{
    auto block = Block(false, 2);
    block->setValueFromText(1, TestSupport::Dec("0.7"));
    EXPECT_DOUBLE_EQ(block->getValue(1), 0.7);
    for (int index : {-1, 2}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(block->getValue(index), 0.0);
        EXPECT_THROW(block->getRawValue(index), ERangeError);
        EXPECT_THROW(block->getValidityValue(index), ERangeError);
        EXPECT_THROW(block->setValueFromText(index, u"1"_s), ERangeError);
    }
    EXPECT_THROW(block->SetValueCount(-1), ERangeError);
}

TEST_F(CellBlockTest, SetValueCount_KeepsOldEntriesAndAddsEmptyValidOnes)
{
    auto block = Block(false, 1);
    block->setValueFromText(0, u"OVER"_s);
    block->SetValueCount(3);
    EXPECT_EQ(block->getRawValue(0), u"OVER"_s);
    EXPECT_EQ(block->getRawValue(2), QString());
    EXPECT_EQ(block->getValue(2), 0.0);
    EXPECT_EQ(block->getValidityValue(2), ValidValue);
    block->SetValueCount(0);
    EXPECT_EQ(block->getValue(0), 0.0);
}

TEST_F(CellBlockTest, ResultsAndAnnotations_Slots0To20_OthersRaiseRangeError)
{
    auto block = Block(false);
    block->setResultLn(20, 1.25);
    block->setResult(0, u"1.25"_s);
    block->setAnnotationExists(AT_EXCEEDMAXVALUE, true);
    block->setAnnotationExists(20, true);
    EXPECT_EQ(block->getResultLn(20), 1.25);
    EXPECT_EQ(block->ResultsLn()[20], 1.25);
    EXPECT_EQ(block->getResult(0), u"1.25"_s);
    EXPECT_TRUE(block->getAnnotationExists(AT_EXCEEDMAXVALUE));
    EXPECT_FALSE(block->getAnnotationExists(AT_INVALIDVALUE));

    for (int index : {-1, 21}) {
        SCOPED_TRACE(index);
        EXPECT_THROW(block->getResultLn(index), ERangeError);
        EXPECT_THROW(block->setResultLn(index, 1.0), ERangeError);
        EXPECT_THROW(block->getResult(index), ERangeError);
        EXPECT_THROW(block->setResult(index, u"x"_s), ERangeError);
        EXPECT_THROW(block->getAnnotationExists(index), ERangeError);
        EXPECT_THROW(block->setAnnotationExists(index, true), ERangeError);
    }

    block->ClearAnnotationExists();
    EXPECT_FALSE(block->getAnnotationExists(AT_EXCEEDMAXVALUE));
    EXPECT_FALSE(block->getAnnotationExists(20));
}

TEST_F(CellBlockTest, StandardBlocks_CycleTheGreysAndKeepTheirFirst)
{
    const TColor expected[] = {0x00DEDEDE, 0x00CDCDCD, 0x00BCBCBC, 0x00ABABAB, 0x00DEDEDE};
    std::vector<std::unique_ptr<OWCellBlockRectCombined>> blocks;
    for (TColor grey : expected) {
        blocks.push_back(Block(true));
        EXPECT_EQ(blocks.back()->color(), grey);
    }
    EXPECT_EQ(blocks[1]->color(), 0x00CDCDCDu);
    EXPECT_EQ(blocks[4]->color(), 0x00DEDEDEu);
    // A block that keeps its grey does not advance the cycle.
    EXPECT_EQ(Block(true)->color(), 0x00CDCDCDu);
}

TEST_F(CellBlockTest, SubjectColours_AdvanceAfterEachCallAndWrapAfter32)
{
    EXPECT_EQ(OWCellBlockBase::GetCurrentSubjectColor(), SubjectColours[0]);
    auto first = Block(false);
    auto second = Block(false);
    EXPECT_EQ(first->color(), SubjectColours[0]);
    EXPECT_EQ(OWCellBlockBase::GetCurrentSubjectColor(), SubjectColours[1]);
    EXPECT_EQ(second->color(), SubjectColours[1]);
    EXPECT_EQ(first->color(), SubjectColours[0]);

    for (std::size_t i = 2; i < SubjectColours.size(); ++i)
        EXPECT_EQ(OWCellBlockBase::SetAndGetNextSubjectColor(), SubjectColours[i]);
    EXPECT_EQ(OWCellBlockBase::GetCurrentSubjectColor(), SubjectColours[0]);
    EXPECT_EQ(OWCellBlockBase::SetAndGetNextSubjectColor(), SubjectColours[0]);

    OWCellBlockBase::Reset();
    EXPECT_EQ(OWCellBlockBase::GetCurrentSubjectColor(), SubjectColours[0]);
}

TEST_F(CellBlockTest, PresetSubjectColour_IsKeptAndDoesNotAdvance)
{
    auto block = Block(false);
    block->SetSubjectColor(OWCellBlockBase::GetCurrentSubjectColor());
    EXPECT_EQ(block->color(), SubjectColours[0]);
    EXPECT_EQ(OWCellBlockBase::GetCurrentSubjectColor(), SubjectColours[0]);
}

TEST_F(CellBlockTest, IdentifierCounters_CountFromOneAfterReset)
{
    EXPECT_EQ(OWCellBlockBase::GetCurrentSubjectIdStr(), u"ID 1"_s);
    EXPECT_EQ(OWCellBlockBase::GetCurrentStandardIdStr(), u"Std 1"_s);
    OWCellBlockBase::SetNextSubjectId();
    OWCellBlockBase::SetNextSubjectId();
    OWCellBlockBase::SetNextStandardId();
    EXPECT_EQ(OWCellBlockBase::GetCurrentSubjectIdStr(), u"ID 3"_s);
    EXPECT_EQ(OWCellBlockBase::GetCurrentSubjectIdNumber(), 3);
    EXPECT_EQ(OWCellBlockBase::GetCurrentStandardIdStr(), u"Std 2"_s);
}

TEST_F(CellBlockTest, Reset_RestoresCountersAndPrefixButKeepsIdentifierCount)
{
    OWCellBlockBase::SetNextSubjectId();
    OWCellBlockBase::SetNextStandardId();
    OWCellBlockBase::SetAndGetNextStandardGrey();
    OWCellBlockBase::SetAndGetNextSubjectColor();
    OWCellBlockBase::SetSubjectIdPrefix(u"P-"_s);
    OWCellBlockBase::SetIdentifierCount(1);

    OWCellBlockBase::Reset();

    EXPECT_EQ(OWCellBlockBase::GetCurrentSubjectIdNumber(), 1);
    EXPECT_EQ(OWCellBlockBase::GetCurrentStandardIdStr(), u"Std 1"_s);
    EXPECT_EQ(OWCellBlockBase::SetAndGetNextStandardGrey(), 0x00DEDEDEu);
    EXPECT_EQ(OWCellBlockBase::GetCurrentSubjectColor(), SubjectColours[0]);
    EXPECT_TRUE(OWCellBlockBase::GetSubjectIdPrefix().isEmpty());
    EXPECT_EQ(OWCellBlockBase::GetIdentifierCount(), 1);
}

} // namespace
