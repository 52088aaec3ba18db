#include "PrintObj.h"
