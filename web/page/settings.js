// The user's choices the browser keeps between visits (localStorage, each
// under "fudeline." and its name, as JSON).

// The value kept under `key`, or `fallback` when none is kept or storage is
// unavailable.
export function loadSetting(key, fallback) {
  try {
    const v = localStorage.getItem("fudeline." + key);
    return v === null ? fallback : JSON.parse(v);
  } catch (e) {
    return fallback;
  }
}

export function saveSetting(key, value) {
  try {
    localStorage.setItem("fudeline." + key, JSON.stringify(value));
  } catch (e) { /* private mode: nothing kept */ }
}
