// Decodes the picture shown under the canvas away from the page: a large
// photo's decoding held the page for a sixth of a second. Takes a file,
// answers with its bitmap (as the browser shows it) or {failed}.
self.onmessage = async ({ data }) => {
  try {
    const bitmap = await createImageBitmap(data);
    self.postMessage(bitmap, [bitmap]);
  } catch (error) {
    self.postMessage({ failed: String(error) });
  }
};
