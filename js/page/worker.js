// The page's worker: the package's monthFiles run on the file the page hands
// over, away from the page's own thread, so that the page stays responsive
// and shows how much of the file has been read. Bundled after the package's
// modules (tools/make_page.mjs), whose functions it calls by name.
self.onmessage = ({ data: { bytes, name, generated } }) => {
  try {
    const input = new Uint8Array(bytes);
    const files = monthFiles(input, {
      name,
      generated,
      onProgress: (done, total) => self.postMessage({ progress: total === 0 ? 1 : done / total }),
    });
    // The products are copied out of the module's memory: their own buffers
    // go to the page without another copy.
    const products = { result: files.result.slice(), csv: files.csv.slice(),
      report: files.report.slice() };
    self.postMessage({ products, names: productNames(name), name },
      Object.values(products).map((bytes) => bytes.buffer));
  } catch (error) {
    self.postMessage({ error: String(error?.message ?? error) });
  }
};
self.postMessage({ ready: version });
