#pragma once

#include "core/UiTextManager.h"

#include <QString>

namespace TestSupport {

// Makes a catalogue current for one test or one block of it, by resource name or language
// index, and makes the catalogue before it current again when it goes out of scope.
class LanguageGuard
{
public:
    explicit LanguageGuard(const QString &resourceName)
    {
        GetTranslationManager().LoadResource(resourceName);
    }
    explicit LanguageGuard(int languageIndex) { GetTranslationManager().LoadResource(languageIndex); }
    ~LanguageGuard()
    {
        // Never empty inside a test: the English catalogue is loaded before each one.
        if (!mSaved.isEmpty())
            GetTranslationManager().LoadResource(mSaved);
    }
    LanguageGuard(const LanguageGuard &) = delete;
    LanguageGuard &operator=(const LanguageGuard &) = delete;

private:
    QString mSaved = GetTranslationManager().GetResourceId();
};

} // namespace TestSupport
