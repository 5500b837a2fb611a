// Files in the engine's memory file system grow by doubling. Past 1 MiB
// emscripten grows them by an eighth at a time, so a font of many megabytes,
// written 64 KiB at a time, would be copied dozens of times over.
MEMFS.expandFileStorage = function expandByDoubling(node, wanted) {
  const held = node.contents ? node.contents.length : 0;
  if (held >= wanted) return;
  const old = node.contents;
  node.contents = new Uint8Array(Math.max(wanted, held * 2, 256));
  if (node.usedBytes > 0) node.contents.set(old.subarray(0, node.usedBytes), 0);
};
