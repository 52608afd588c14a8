// Everything a filter dialog and its scripts need of the report filter grid.
#pragma once

#include "platform/grfc/lookup_form.h"
#include "platform/grfc/lookup_source.h"
#include "platform/grfc/register.h"
#include "platform/grfc/report_filter.h"
#include "platform/grfc/report_filter_events.h"
#include "platform/grfc/scheme_codec.h"
#include "platform/grfc/scheme_store.h"
