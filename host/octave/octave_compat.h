/* Forced include for the GNU Octave build of the plug-ins: the few names our
 * array interface offers beyond Octave's mex.h. */
#ifndef MEXTOOLBOX_OCTAVE_COMPAT_H
#define MEXTOOLBOX_OCTAVE_COMPAT_H

#include "mex.h"

/* The dimension messages of some gateways go through mxErrMsgTxt. */
#ifndef mxErrMsgTxt
#define mxErrMsgTxt mexErrMsgTxt
#endif

#endif
