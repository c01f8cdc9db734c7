/* Forced include for the GNU Octave build of the plug-ins: the few names our
 * array interface offers beyond Octave's mex.h. */
#ifndef MEXTOOLBOX_OCTAVE_COMPAT_H
#define MEXTOOLBOX_OCTAVE_COMPAT_H

#include "mex.h"

/* Octave's declarations do not say that the error calls never return;
 * saying so keeps the gateways' flow analysis the same as with our host. */
#ifdef __cplusplus
extern "C" {
#endif
__attribute__((noreturn)) void mexErrMsgTxt(const char *s);
__attribute__((noreturn)) void mexErrMsgIdAndTxt(const char *id, const char *s, ...);
#ifdef __cplusplus
}
#endif

/* The dimension messages of some gateways go through mxErrMsgTxt. */
#ifndef mxErrMsgTxt
#define mxErrMsgTxt mexErrMsgTxt
#endif

#endif
