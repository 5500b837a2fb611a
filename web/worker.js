// The page's worker: it keeps the picture in the engine's own memory file
// system and runs the cuts and conversions there, so that a large picture
// never stops the page from answering. It runs after the engine's script,
// which defines createVellicorEngine.
'use strict';

const pictureFolder = '/picture';
let engine = null;
let pictureName = '';
let pictureBytes = null; // kept to hand to a restarted engine
let inkCache = null; // {rule, ink}: reading the ink again for every cut costs a decoding
let outOfMemoryText = '';
const waiting = [];

// The fields' texts travel through the engine's heap, not its stack: a
// character list may be long.
function withText(text, use) {
  const size = engine.lengthBytesUTF8(text) + 1;
  const at = engine._malloc(size);
  try {
    engine.stringToUTF8(text, at, size);
    return use(at);
  } finally {
    engine._free(at);
  }
}

function setField(name, value) {
  withText(name, (nameAt) => withText(value, (valueAt) => engine._vellicor_web_set_field(nameAt, valueAt)));
}

// The page's fields as the console's options: a checkbox is given as "1"
// when ticked and left off otherwise, an empty text is left off.
function setFields(fields) {
  engine._vellicor_web_clear_fields();
  setField('picture', picturePath());
  for (const [name, value] of Object.entries(fields || {})) {
    if (value === true) setField(name, '1');
    else if (typeof value === 'string' && value !== '') setField(name, value);
  }
}

function picturePath() {
  return pictureFolder + '/' + pictureName;
}

// The ink under the fields' rule, read again only when the rule changed.
function inkFor(fields) {
  const rule = (fields && fields.ink) || 'black';
  if (inkCache && inkCache.rule === rule) return inkCache.ink;
  let ink = null;
  if (engine._vellicor_web_read_ink() === 0) {
    const width = engine._vellicor_web_ink_width();
    const height = engine._vellicor_web_ink_height();
    const stride = engine._vellicor_web_ink_stride();
    const at = engine._vellicor_web_ink_bits();
    ink = { width, height, stride, bits: engine.HEAPU8.slice(at, at + stride * height).buffer };
  }
  inkCache = { rule, ink };
  return ink;
}

function cut(request) {
  setFields(request.fields);
  const ok = engine._vellicor_web_cut() === 0;
  const message = ok ? '' : engine.UTF8ToString(engine._vellicor_web_message());
  const result = JSON.parse(engine.UTF8ToString(engine._vellicor_web_cut_json()));
  const ink = inkFor(request.fields);
  engine._vellicor_web_release();
  const reply = {
    kind: 'cut',
    serial: request.serial,
    ok,
    message,
    report: result.report || {},
    glyphs: result.glyphs || [],
    ink: ink ? { ...ink, bits: ink.bits.slice(0) } : null,
  };
  self.postMessage(reply, reply.ink ? [reply.ink.bits] : []);
}

// Every file of the folder but the picture: what a conversion left there.
function writtenFiles() {
  return engine.FS.readdir(pictureFolder).filter((name) => name !== '.' && name !== '..' && name !== pictureName);
}

function convert(request) {
  for (const name of writtenFiles()) engine.FS.unlink(pictureFolder + '/' + name);
  setFields(request.fields);
  const ok = engine._vellicor_web_convert() === 0;
  const reply = {
    kind: 'convert',
    serial: request.serial,
    ok,
    message: ok ? '' : engine.UTF8ToString(engine._vellicor_web_message()),
    notice: engine.UTF8ToString(engine._vellicor_web_notice()),
    fileName: '',
    bytes: null,
  };
  const written = ok ? writtenFiles() : [];
  if (written.length === 1) {
    reply.fileName = written[0];
    reply.bytes = engine.FS.readFile(pictureFolder + '/' + written[0]).buffer;
    engine.FS.unlink(pictureFolder + '/' + written[0]);
  }
  self.postMessage(reply, reply.bytes ? [reply.bytes] : []);
}

function keepPicture(request) {
  if (pictureName) engine.FS.unlink(picturePath());
  // Only the last part of the name, and never "." or "..": the name is the
  // user's, the folder is the engine's.
  pictureName = String(request.name || 'picture').split(/[\\/]/).pop();
  if (pictureName === '' || pictureName === '.' || pictureName === '..') pictureName = 'picture';
  pictureBytes = new Uint8Array(request.bytes);
  engine.FS.writeFile(picturePath(), pictureBytes);
  inkCache = null;
}

function handle(request) {
  try {
    if (request.kind === 'picture') keepPicture(request);
    else if (request.kind === 'cut') cut(request);
    else if (request.kind === 'convert') convert(request);
  } catch (error) {
    // The engine stops for good when its memory runs out (the browser
    // build has no C++ exceptions, which would slow every call): the run
    // is answered as the console answers running out of memory, and a new
    // engine takes the next requests.
    self.postMessage({ kind: request.kind, serial: request.serial, ok: false, failed: true,
                       message: outOfMemoryText || String(error) });
    restartEngine();
  }
}

function requestArrived(event) {
  if (engine) handle(event.data);
  else waiting.push(event.data);
}

function startEngine() {
  createVellicorEngine({ print() {}, printErr(t) { if (self.debugEngine) self.debugEngine(t); } }).then((module) => {
    module.FS.mkdir(pictureFolder);
    if (pictureBytes) module.FS.writeFile(picturePath(), pictureBytes);
    outOfMemoryText = module.UTF8ToString(module._vellicor_web_out_of_memory_message());
    engine = module;
    self.postMessage({ kind: 'ready' });
    for (const request of waiting.splice(0)) handle(request);
  });
}

function restartEngine() {
  engine = null;
  inkCache = null;
  startEngine();
}

self.onmessage = requestArrived;
startEngine();
