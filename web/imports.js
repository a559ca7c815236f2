// SPDX-License-Identifier: GPL-3.0-or-later
// What the core imports from the page, declared for emscripten's link step
// (which otherwise reports it as undefined); core.js supplies it at run time.
/* global mergeInto, LibraryManager -- emscripten's, at link time */
mergeInto(LibraryManager.library, { upper: function () {} });
