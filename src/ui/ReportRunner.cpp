#include "ui/ReportRunner.h"
