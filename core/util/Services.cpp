#include "core/util/Services.h"

Services App_Services;
