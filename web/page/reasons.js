// The core's reasons in Japanese, worded by the core's one table
// (pixels/japanese_reasons.h, through the module's japaneseReason): by the
// error's kind and its arguments, an errno as the system's reason. A reason
// of no Japanese wording, or any reason on the English page, stays as the
// core words it.
"use strict";

const FudelineReasons = (function () {
  return {
    // `result`: {kind, args, error}, the error the core's English.
    text(module, english, result) {
      if (english || result.kind === undefined) return result.error;
      return module.japaneseReason(result.kind, result.args || []) || result.error;
    },
  };
})();
