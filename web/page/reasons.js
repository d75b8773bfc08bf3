// The core's reasons in Japanese, worded by the core (each kind's own
// wording, through the module's japaneseReason): by the error's kind (its
// name) and its arguments, an errno as the system's reason. On the English
// page a reason stays as the core words it in English.
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
