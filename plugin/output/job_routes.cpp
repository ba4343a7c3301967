// The routes that open no port. Until they are built the plot data stays in the settings
// folder.
#include "plugin/output/job_routes.h"

int32_t RunJobRoute()
{
    return 0;
}
