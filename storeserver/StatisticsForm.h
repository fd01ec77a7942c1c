#pragma once

#include "FormEncoding.h"

#include <string>

// The wizards' statistics form ("install", "update", "uninstall"): its keys
// come in a fixed order; "vm_type" may follow "pc_type", and the updater's
// version pair ends the form of "update" only.
bool isWizardStatus(const std::string& status);

// Empty when the form is not a wizard's or its keys are as they must be;
// otherwise what is wrong, in a few words.
std::string wizardFormProblem(const FormFields& form);
