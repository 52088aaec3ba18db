#include "SubjectNameForm.h"

TSubjectNameForm::TSubjectNameForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SubjectNameForm"));
}
