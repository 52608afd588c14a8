// Everything a form and its script need: the form, every control kind and the front ends.
#pragma once

#include "platform/forms/combo_box.h"
#include "platform/forms/control.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/front_end.h"
#include "platform/forms/hosted_control.h"
#include "platform/forms/layout.h"
#include "platform/forms/scripted_front_end.h"
#include "platform/forms/status_controls.h"
#include "platform/forms/up_down.h"
