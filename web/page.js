// The page of vellicor: reads the fields, asks the engine's worker for a cut
// after every change, draws the cut over the picture's ink, and turns a
// conversion into a download. Nothing leaves the computer: the picture goes
// to a worker of this page only.
'use strict';

const CUT_DELAY_MS = 150;
const MIN_ZOOM = 1;
const MAX_ZOOM = 32;
const MAX_FITTED_ZOOM = 8; // fitting the height, but not so large that only a few glyphs show
const MARGIN_PX = 8; // around the picture, inside the scrolled area
const LABEL_BAND_PX = 16; // room for the codes above and the characters below
const LABEL_FONT = '12px system-ui, sans-serif';
const BOX_COLOURS = ['rgb(0,102,204)', 'rgb(204,51,0)'];
const BASELINE_COLOUR = 'rgb(0,153,51)';
const CELL_COLOUR = 'rgb(153,51,204)';
const GAP_SHADE = 'rgba(153,51,204,0.27)';
const BLANK_COLUMN_SHADE = 'rgba(255,204,0,0.43)';
const PROMPT = 'Choose or drop a PNG or BMP picture.';

const TEXT_FIELDS = ['font-name', 'first-code', 'allowed-blank', 'descent', 'upper-blank',
  'lower-blank', 'leading-blank', 'trailing-blank', 'chars', 'blank-advance', 'ink', 'rows',
  'grid', 'grid-origin', 'grid-gap', 'charset', 'format'];
const CHECK_FIELDS = ['fixed-width', 'proportional', 'marks'];

const $ = (id) => document.getElementById(id);

const state = {
  worker: null,
  ready: false,
  picture: null, // {name}: the picture chosen last
  pendingBytes: null, // its bytes until the worker has them
  pictureSerial: 0, // counts the pictures chosen, so that one's ink is not taken for another's
  serial: 0, // of the last request sent; replies carry the serial of theirs
  cutSerial: 0, // the cut whose reply is the one to show
  convertSerial: 0,
  cutTimer: 0,
  sentCutKey: '', // the fields (and picture) of the last cut sent
  cutFields: null, // the fields of the last cut sent
  answeredCutGlyphs: 0, // the glyph count of the last cut answered
  cut: null, // the last cut shown: {ok, report, glyphs, fields}
  ink: null, // {width, height, stride, bits: Uint8Array, columnHasInk, pictureSerial, rule}
  drawn: [], // indices of the glyphs with columns, by first column
  widest: 0, // of the glyphs in drawn
  zoom: 4,
  zoomFitted: false,
  downloadUrl: '',
};

// ---- Fields ----

// The fields as the worker takes them: the console's option names, '' for an
// option left off. A disabled field is one that cannot go with the others:
// it is left off.
function readFields() {
  const fields = {};
  for (const id of TEXT_FIELDS) {
    const element = $(id);
    fields[id] = element.disabled ? '' : element.value;
  }
  for (const id of CHECK_FIELDS) {
    const element = $(id);
    fields[id] = !element.disabled && element.checked;
  }
  return fields;
}

// Options the console refuses together are never both given: a grid takes
// no rows or marks; its origin, gap and proportional advance need a grid; a
// list of characters leaves no room for a character set. The grid and the
// list win, so that typing into them is never blocked.
function enableFields() {
  const grid = $('grid').value.trim() !== '';
  $('rows').disabled = grid;
  $('marks').disabled = grid;
  for (const id of ['grid-origin', 'grid-gap', 'proportional']) $(id).disabled = !grid;
  $('charset').disabled = $('chars').value !== '';
}

// A field's number as the console reads it (decimal, or hexadecimal after
// 0x); 0 for anything else, which the cut refuses on its own.
function fieldNumber(text) {
  if (/^0[xX][0-9a-fA-F]*$/.test(text)) return text.length > 2 ? parseInt(text.slice(2), 16) : 0;
  return /^[0-9]+$/.test(text) ? parseInt(text, 10) : 0;
}

// ---- Status ----

function setStatus(text) {
  $('status').textContent = text;
}

// "94 glyphs, codes 33 to 126": with a character list the codes need not
// rise from left to right, so the lowest and highest are looked for.
function cutSummary(glyphs) {
  if (glyphs.length === 0) return 'No glyphs';
  let lowest = glyphs[0].code;
  let highest = lowest;
  for (const glyph of glyphs) {
    if (glyph.code < lowest) lowest = glyph.code;
    if (glyph.code > highest) highest = glyph.code;
  }
  if (glyphs.length === 1) return `1 glyph, code ${lowest}`;
  return `${glyphs.length} glyphs, codes ${lowest} to ${highest}`;
}

function glyphsWritten(count, name) {
  return count === 1 ? `1 glyph written to ${name}` : `${count} glyphs written to ${name}`;
}

function updateConvertButton() {
  $('convert').disabled = !(state.ready && state.picture);
}

// ---- Engine ----

// engine.js is large (the engine with its code embedded): it is added only
// after the page has been painted, so the fields show at once.
function loadEngine() {
  const script = document.createElement('script');
  script.src = 'engine.js';
  script.onload = startWorker;
  script.onerror = () => setStatus('The engine (engine.js) could not be loaded.');
  document.body.appendChild(script);
}

// Chromium starts no worker from a file:// address: the worker's source
// comes from engine.js as a string and runs from a blob.
function startWorker() {
  if (typeof vellicorWorkerSource !== 'string') {
    setStatus('The engine (engine.js) could not be loaded.');
    return;
  }
  const blob = new Blob([vellicorWorkerSource], { type: 'text/javascript' });
  state.worker = new Worker(URL.createObjectURL(blob));
  state.worker.onmessage = (event) => onWorkerMessage(event.data);
  state.worker.onerror = (event) => {
    setStatus(`The engine stopped: ${event.message || 'unknown error'}`);
  };
}

function onWorkerMessage(message) {
  if (message.kind === 'ready') {
    state.ready = true;
    updateConvertButton();
    if (state.pendingBytes) sendPicture();
    else setStatus(PROMPT);
  } else if (message.kind === 'cut') {
    // Replies come in the order of the requests: the last cut answered
    // before a conversion is the cut of the conversion's fields.
    state.answeredCutGlyphs = fontGlyphs(message).length;
    if (message.serial === state.cutSerial) showCut(message);
  } else if (message.kind === 'convert') {
    if (message.serial === state.convertSerial) showConversion(message);
  }
}

function send(message) {
  state.serial += 1;
  state.worker.postMessage({ ...message, serial: state.serial });
  return state.serial;
}

// ---- Picture ----

async function takePictureFile(file) {
  if (!file) return;
  const bytes = await file.arrayBuffer();
  state.pictureSerial += 1;
  state.picture = { name: file.name };
  state.pendingBytes = bytes;
  // The last picture's ink and glyphs go: nothing on screen is of this one yet.
  state.ink = null;
  state.cut = null;
  state.drawn = [];
  state.zoomFitted = false;
  layoutView();
  updateConvertButton();
  if (state.ready) sendPicture();
}

// The worker keeps the picture for every later cut and conversion.
function sendPicture() {
  const bytes = state.pendingBytes;
  state.pendingBytes = null;
  state.worker.postMessage({ kind: 'picture', name: state.picture.name, bytes }, [bytes]);
  state.sentCutKey = '';
  sendCut();
}

// A dropped file is the picture, as if chosen in the file field.
function onDrop(event) {
  event.preventDefault();
  document.body.classList.remove('dragging');
  const files = event.dataTransfer && event.dataTransfer.files;
  if (!files || files.length === 0) return;
  try {
    const chosen = new DataTransfer();
    chosen.items.add(files[0]);
    $('picture').files = chosen.files;
  } catch (error) {
    // The field keeps its old name; the picture is taken all the same.
  }
  takePictureFile(files[0]);
}

// ---- Cuts ----

function cutKey(fields) {
  return `${state.pictureSerial}\n${JSON.stringify(fields)}`;
}

function scheduleCut() {
  clearTimeout(state.cutTimer);
  state.cutTimer = setTimeout(sendCut, CUT_DELAY_MS);
}

// Asks for a cut of the fields as they stand, unless that cut was the last
// one asked for.
function sendCut() {
  clearTimeout(state.cutTimer);
  state.cutTimer = 0;
  if (!state.ready || !state.picture) return;
  const fields = readFields();
  const key = cutKey(fields);
  if (key === state.sentCutKey) return;
  state.sentCutKey = key;
  state.cutSerial = send({ kind: 'cut', fields });
  state.cutFields = fields;
}

// The glyphs of a cut's reply but the characters past the picture's
// glyphs: they have nothing to draw and are no glyphs of the font.
function fontGlyphs(reply) {
  return (reply.glyphs || []).filter((glyph) => !(glyph.unpaired && glyph.character));
}

function showCut(reply) {
  const fields = state.cutFields;
  takeInk(reply.ink, fields.ink || 'black');
  // A refused cut still shows its glyphs, so that one can see where picture
  // and list part ways.
  const glyphs = fontGlyphs(reply);
  state.cut = { ok: reply.ok, report: reply.report || {}, glyphs, fields };
  indexGlyphs(glyphs);
  // The engine's own words for a refusal, never the page's.
  setStatus(reply.ok ? cutSummary(glyphs) : reply.message);
  layoutView();
}

// The ink of the reply; without one (a refusal), the ink shown stays while it
// is the same picture's under the same rule, and goes otherwise.
function takeInk(ink, rule) {
  if (!ink) {
    const current = state.ink;
    if (!current || current.pictureSerial !== state.pictureSerial || current.rule !== rule) {
      state.ink = null;
    }
    return;
  }
  const bits = new Uint8Array(ink.bits);
  const columnHasInk = new Uint8Array(ink.width);
  // Which bytes of a row hold ink in some row: one pass over the bits.
  const inkedBytes = new Uint8Array(ink.stride);
  for (let row = 0; row < ink.height; row += 1) {
    const start = row * ink.stride;
    for (let index = 0; index < ink.stride; index += 1) inkedBytes[index] |= bits[start + index];
  }
  for (let column = 0; column < ink.width; column += 1) {
    columnHasInk[column] = (inkedBytes[column >> 3] >> (7 - (column & 7))) & 1;
  }
  state.ink = {
    width: ink.width, height: ink.height, stride: ink.stride, bits, columnHasInk,
    pictureSerial: state.pictureSerial, rule,
  };
  if (!state.zoomFitted) fitZoom();
}

// Sorted by their first column, a paint finds the first glyph that may reach
// into the visible columns by bisection; the glyphs of a sheet's bands
// overlap in columns, so it looks a widest glyph back.
function indexGlyphs(glyphs) {
  const drawn = [];
  let widest = 0;
  glyphs.forEach((glyph, index) => {
    if (glyph.width === 0) return;
    drawn.push(index);
    if (glyph.width > widest) widest = glyph.width;
  });
  drawn.sort((a, b) => glyphs[a].first_column - glyphs[b].first_column || a - b);
  state.drawn = drawn;
  state.widest = widest;
}

// ---- Conversion ----

// The font's glyph count is the cut's of the same fields: a cut still
// waiting for its delay is sent first, and the worker answers in order.
function convert() {
  if (!state.ready || !state.picture) return;
  sendCut();
  state.convertSerial = send({ kind: 'convert', fields: readFields() });
}

function clearDownload() {
  const link = $('download');
  if (state.downloadUrl) URL.revokeObjectURL(state.downloadUrl);
  state.downloadUrl = '';
  link.removeAttribute('href');
  link.removeAttribute('download');
  link.textContent = '';
  link.hidden = true;
}

function showConversion(reply) {
  clearDownload();
  if (!reply.ok) {
    setStatus(reply.message);
    return;
  }
  const link = $('download');
  state.downloadUrl = URL.createObjectURL(new Blob([reply.bytes]));
  link.href = state.downloadUrl;
  link.download = reply.fileName;
  link.textContent = `Download ${reply.fileName}`;
  link.hidden = false;
  // A font that leaves out characters holds fewer glyphs than the cut: the
  // notice says which.
  if (reply.notice) {
    setStatus(`Font written to ${reply.fileName}. ${reply.notice}`);
  } else {
    setStatus(glyphsWritten(state.answeredCutGlyphs, reply.fileName));
  }
}

// ---- View: scrolling and zoom ----

const view = $('view');
const canvas = $('glyph-canvas');

function contentSize() {
  const ink = state.ink;
  if (!ink) return { width: 0, height: 0 };
  return {
    width: ink.width * state.zoom + 2 * MARGIN_PX,
    height: ink.height * state.zoom + 2 * MARGIN_PX + 2 * LABEL_BAND_PX,
  };
}

// Once per picture: the zoom that fits its height in the view.
function fitZoom() {
  if (!state.ink) return;
  state.zoomFitted = true;
  const room = view.clientHeight - 2 * MARGIN_PX - 2 * LABEL_BAND_PX;
  const fitted = Math.floor(room / Math.max(1, state.ink.height));
  state.zoom = Math.min(Math.max(fitted, MIN_ZOOM), MAX_FITTED_ZOOM);
  view.scrollLeft = 0;
  view.scrollTop = 0;
}

// The spacer gives the scrolled area the picture's enlarged size; the canvas
// stays the size of the view and follows the scroll.
function layoutView() {
  const content = contentSize();
  const spacer = $('view-spacer');
  spacer.style.width = `${content.width}px`;
  spacer.style.height = `${Math.max(0, content.height - view.clientHeight)}px`;
  $('zoom-level').textContent = `Zoom ${state.zoom}\u00d7`;
  paint();
}

// The picture column under the anchor stays under it.
function zoomAround(zoom, anchorX, anchorY) {
  state.zoomFitted = true; // the user's zoom stays
  const next = Math.min(Math.max(zoom, MIN_ZOOM), MAX_ZOOM);
  if (next === state.zoom) return;
  const column = (view.scrollLeft + anchorX - MARGIN_PX) / state.zoom;
  const row = (view.scrollTop + anchorY - MARGIN_PX - LABEL_BAND_PX) / state.zoom;
  state.zoom = next;
  layoutView();
  view.scrollLeft = column * next + MARGIN_PX - anchorX;
  view.scrollTop = row * next + MARGIN_PX + LABEL_BAND_PX - anchorY;
  paint();
}

function zoomBy(step) {
  zoomAround(state.zoom + step, 0, view.clientHeight / 2);
}

function onWheel(event) {
  if (event.ctrlKey) {
    event.preventDefault();
    const box = view.getBoundingClientRect();
    const step = event.deltaY < 0 ? 1 : -1;
    zoomAround(state.zoom + step, event.clientX - box.left, event.clientY - box.top);
  } else if (event.deltaX === 0 && !event.shiftKey && view.scrollHeight <= view.clientHeight &&
      view.scrollWidth > view.clientWidth) {
    // A strip scrolls only sideways: the ordinary wheel moves along it.
    event.preventDefault();
    view.scrollLeft += event.deltaY;
  }
}

function onViewKey(event) {
  if (event.ctrlKey || event.altKey || event.metaKey) return;
  if (event.key === '+' || event.key === '=') zoomBy(1);
  else if (event.key === '-') zoomBy(-1);
  else if (event.key === 'Home') view.scrollLeft = 0;
  else if (event.key === 'End') view.scrollLeft = view.scrollWidth;
  else return; // arrows and page keys scroll as usual
  event.preventDefault();
}

// ---- View: painting ----

// Where the picture's top-left pixel stands on the canvas.
function pictureOrigin() {
  return { x: MARGIN_PX - view.scrollLeft, y: MARGIN_PX + LABEL_BAND_PX - view.scrollTop };
}

// A strip of one band shows one baseline, the labels and the blank columns;
// a sheet shows its cells or bands instead.
function isSingleBand(fields) {
  return fields.grid === '' && !fields.marks && fieldNumber(fields.rows) <= 1;
}

// The picture row above which the baseline runs, or -1: the box of every
// glyph is as tall as the tallest column (with the lower blank rows), and its
// lowest descent rows hang below the baseline.
function baselineRow() {
  const cut = state.cut;
  if (!cut || !isSingleBand(cut.fields) || state.drawn.length === 0) return -1;
  const tallest = (cut.report.tallest || 0) + fieldNumber(cut.fields['lower-blank']);
  if (tallest === 0) return -1;
  let top = Infinity;
  for (const index of state.drawn) top = Math.min(top, cut.glyphs[index].top);
  return top + tallest - fieldNumber(cut.fields.descent);
}

function paint() {
  const width = view.clientWidth;
  const height = view.clientHeight;
  const ratio = window.devicePixelRatio || 1;
  if (canvas.width !== Math.round(width * ratio) || canvas.height !== Math.round(height * ratio)) {
    canvas.width = Math.round(width * ratio);
    canvas.height = Math.round(height * ratio);
    canvas.style.width = `${width}px`;
    canvas.style.height = `${height}px`;
  }
  const context = canvas.getContext('2d');
  context.setTransform(ratio, 0, 0, ratio, 0, 0);
  context.fillStyle = '#fff';
  context.fillRect(0, 0, width, height);
  const ink = state.ink;
  if (!ink) return;

  const origin = pictureOrigin();
  const zoom = state.zoom;
  // The columns and rows of the picture that meet the view.
  const visible = {
    left: Math.max(0, Math.floor(-origin.x / zoom)),
    right: Math.min(ink.width, Math.ceil((width - origin.x) / zoom)),
    top: Math.max(0, Math.floor(-origin.y / zoom)),
    bottom: Math.min(ink.height, Math.ceil((height - origin.y) / zoom)),
  };
  if (visible.left >= visible.right || visible.top >= visible.bottom) return;
  paintInk(context, origin, visible);
  const fields = state.cut ? state.cut.fields : readFields();
  if (fields.grid !== '') paintGrid(context, origin, visible, fields);
  else paintBands(context, origin, visible, fields);
  paintGlyphs(context, origin, visible);
  paintBaseline(context, origin, visible);
}

// The visible part of the ink, one canvas pixel per picture pixel, then
// enlarged without smoothing so that pixels stay square.
const inkCanvas = document.createElement('canvas');

function paintInk(context, origin, visible) {
  const ink = state.ink;
  const columns = visible.right - visible.left;
  const rows = visible.bottom - visible.top;
  inkCanvas.width = columns;
  inkCanvas.height = rows;
  const inkContext = inkCanvas.getContext('2d');
  const image = inkContext.createImageData(columns, rows);
  const pixels = new Uint32Array(image.data.buffer);
  const black = 0xff000000; // opaque black as RGBA bytes read little-endian, as browsers do
  const white = 0xffffffff;
  for (let row = 0; row < rows; row += 1) {
    const start = (visible.top + row) * ink.stride;
    for (let column = 0; column < columns; column += 1) {
      const x = visible.left + column;
      const bit = (ink.bits[start + (x >> 3)] >> (7 - (x & 7))) & 1;
      pixels[row * columns + column] = bit ? black : white;
    }
  }
  inkContext.putImageData(image, 0, 0);
  context.imageSmoothingEnabled = false;
  context.drawImage(inkCanvas, origin.x + visible.left * state.zoom,
    origin.y + visible.top * state.zoom, columns * state.zoom, rows * state.zoom);
}

function strokeBox(context, x, y, width, height) {
  context.strokeRect(x + 0.5, y + 0.5, width - 1, height - 1);
}

function horizontalLine(context, origin, visible, row, colour, dashed) {
  const y = Math.round(origin.y + row * state.zoom) + 0.5;
  context.strokeStyle = colour;
  context.setLineDash(dashed ? [4, 3] : []);
  context.beginPath();
  context.moveTo(origin.x + visible.left * state.zoom, y);
  context.lineTo(origin.x + visible.right * state.zoom, y);
  context.stroke();
  context.setLineDash([]);
}

// Two numbers of a field such as "8x16" or "1,1"; null when it holds none.
function numberPair(text, between) {
  const parts = text.split(between);
  if (parts.length !== 2 || !/^[0-9]+$/.test(parts[0]) || !/^[0-9]+$/.test(parts[1])) return null;
  return [parseInt(parts[0], 10), parseInt(parts[1], 10)];
}

// A grid's cells, its gaps shaded and each cell row's baseline, descent rows
// above the cell's bottom; placed as the engine places them.
function paintGrid(context, origin, visible, fields) {
  const cell = numberPair(fields.grid, 'x');
  if (!cell || cell[0] === 0 || cell[1] === 0) return;
  const start = numberPair(fields['grid-origin'] || '0,0', ',') || [0, 0];
  const gap = numberPair(fields['grid-gap'] || '0,0', ',') || [0, 0];
  const ink = state.ink;
  const whole = (length, from, size, skip) => (from + size > length ? 0 :
    1 + Math.floor((length - from - size) / (size + skip)));
  const columns = whole(ink.width, start[0], cell[0], gap[0]);
  const rows = whole(ink.height, start[1], cell[1], gap[1]);
  const zoom = state.zoom;
  const stepX = cell[0] + gap[0];
  const stepY = cell[1] + gap[1];
  const firstColumn = Math.max(0, Math.floor((visible.left - start[0]) / stepX));
  const lastColumn = Math.min(columns, Math.ceil((visible.right - start[0]) / stepX) + 1);
  const descent = fieldNumber(fields.descent);
  context.lineWidth = 1;
  for (let row = 0; row < rows; row += 1) {
    const top = start[1] + row * stepY;
    if (top > visible.bottom || top + stepY < visible.top) continue;
    for (let column = firstColumn; column < lastColumn; column += 1) {
      const left = start[0] + column * stepX;
      if (gap[0] > 0 && column + 1 < columns) {
        context.fillStyle = GAP_SHADE;
        context.fillRect(origin.x + (left + cell[0]) * zoom, origin.y + top * zoom,
          gap[0] * zoom, (cell[1] + (row + 1 < rows ? gap[1] : 0)) * zoom);
      }
      if (gap[1] > 0 && row + 1 < rows) {
        context.fillStyle = GAP_SHADE;
        context.fillRect(origin.x + left * zoom, origin.y + (top + cell[1]) * zoom,
          cell[0] * zoom, gap[1] * zoom);
      }
      context.strokeStyle = CELL_COLOUR;
      strokeBox(context, origin.x + left * zoom, origin.y + top * zoom,
        cell[0] * zoom, cell[1] * zoom);
    }
    if (descent < cell[1]) {
      horizontalLine(context, origin, visible, top + cell[1] - descent, BASELINE_COLOUR, true);
    }
  }
}

// The edges between bands of equal height and, in a marked strip, each
// band's baseline descent rows above its bottom.
function paintBands(context, origin, visible, fields) {
  const bands = Math.max(1, fieldNumber(fields.rows));
  const height = state.ink.height;
  if (bands > height || height % bands !== 0) return;
  const band = height / bands;
  const descent = fieldNumber(fields.descent);
  context.lineWidth = 1;
  for (let index = 1; index < bands; index += 1) {
    horizontalLine(context, origin, visible, index * band, CELL_COLOUR, false);
  }
  if (!fields.marks || descent >= band) return;
  for (let index = 1; index <= bands; index += 1) {
    horizontalLine(context, origin, visible, index * band - descent, BASELINE_COLOUR, true);
  }
}

// The index in drawn of the first glyph that may reach into the column.
function firstDrawnFrom(column) {
  const { drawn, widest } = state;
  const glyphs = state.cut.glyphs;
  let low = 0;
  let high = drawn.length;
  while (low < high) {
    const middle = (low + high) >> 1;
    if (glyphs[drawn[middle]].first_column + widest <= column) low = middle + 1;
    else high = middle;
  }
  return low;
}

function paintGlyphs(context, origin, visible) {
  const cut = state.cut;
  if (!cut) return;
  const single = isSingleBand(cut.fields);
  const zoom = state.zoom;
  const ink = state.ink;
  context.font = LABEL_FONT;
  context.lineWidth = 1;
  for (let at = firstDrawnFrom(visible.left); at < state.drawn.length; at += 1) {
    const index = state.drawn[at];
    const glyph = cut.glyphs[index];
    if (glyph.first_column >= visible.right) break;
    const box = {
      x: origin.x + glyph.first_column * zoom,
      y: origin.y + glyph.top * zoom,
      width: glyph.width * zoom,
      height: (glyph.bottom - glyph.top + 1) * zoom,
    };
    if (single) {
      // The columns without ink inside the glyph: the tolerated gaps.
      context.fillStyle = BLANK_COLUMN_SHADE;
      for (let column = glyph.first_column; column < glyph.first_column + glyph.width; column += 1) {
        if (column < ink.width && !ink.columnHasInk[column]) {
          context.fillRect(origin.x + column * zoom, origin.y, zoom, ink.height * zoom);
        }
      }
    }
    // Neighbours alternate, so that two boxes that touch stay apart.
    context.strokeStyle = BOX_COLOURS[index % 2];
    strokeBox(context, box.x, box.y, box.width, box.height);
    // A glyph that stands for no character of the font gets no labels; a
    // sheet has room for one row of them only: hovering tells its codes.
    if (single && !glyph.unpaired) paintLabels(context, origin, box, glyph);
  }
}

// Code above the picture, character below, centred on the box; a text wider
// than the box and a zoomed pixel on each side is left out rather than run
// into its neighbours'.
function paintLabels(context, origin, box, glyph) {
  const room = box.width + 2 * state.zoom;
  const centre = box.x + box.width / 2;
  context.fillStyle = '#1d2125';
  context.textAlign = 'center';
  const code = String(glyph.code);
  if (context.measureText(code).width <= room) {
    context.textBaseline = 'bottom';
    context.fillText(code, centre, origin.y - 2);
  }
  if (glyph.character && context.measureText(glyph.character).width <= room) {
    context.textBaseline = 'top';
    context.fillText(glyph.character, centre, origin.y + state.ink.height * state.zoom + 2);
  }
}

function paintBaseline(context, origin, visible) {
  const row = baselineRow();
  if (row >= 0) horizontalLine(context, origin, visible, row, BASELINE_COLOUR, true);
}

// Hovering a box tells its code and character.
function glyphAt(column, row) {
  const cut = state.cut;
  if (!cut) return null;
  for (let at = firstDrawnFrom(column); at < state.drawn.length; at += 1) {
    const glyph = cut.glyphs[state.drawn[at]];
    if (glyph.first_column > column) break;
    if (column < glyph.first_column + glyph.width && row >= glyph.top && row <= glyph.bottom) {
      return glyph;
    }
  }
  return null;
}

function onCanvasHover(event) {
  const origin = pictureOrigin();
  const glyph = state.ink ? glyphAt(Math.floor((event.offsetX - origin.x) / state.zoom),
    Math.floor((event.offsetY - origin.y) / state.zoom)) : null;
  let title = '';
  if (glyph && !glyph.unpaired) {
    title = glyph.character ? `Code ${glyph.code}: ${glyph.character}` : `Code ${glyph.code}`;
  }
  if (canvas.title !== title) canvas.title = title;
}

// ---- Wiring ----

function onFieldChange(event) {
  if (event.target.id === 'picture') return;
  enableFields();
  scheduleCut();
}

function start() {
  // The fields, and the format beside the Convert button.
  const fields = document.querySelector('main');
  $('fields').addEventListener('submit', (event) => event.preventDefault());
  fields.addEventListener('input', onFieldChange);
  fields.addEventListener('change', onFieldChange);
  $('picture').addEventListener('change', (event) => takePictureFile(event.target.files[0]));
  $('convert').addEventListener('click', convert);
  $('zoom-in').addEventListener('click', () => zoomBy(1));
  $('zoom-out').addEventListener('click', () => zoomBy(-1));
  view.addEventListener('wheel', onWheel, { passive: false });
  view.addEventListener('keydown', onViewKey);
  view.addEventListener('scroll', paint, { passive: true });
  canvas.addEventListener('mousemove', onCanvasHover);
  new ResizeObserver(layoutView).observe(view);
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    if (event.dataTransfer) event.dataTransfer.dropEffect = 'copy';
    document.body.classList.add('dragging');
  });
  document.addEventListener('dragleave', (event) => {
    if (!event.relatedTarget) document.body.classList.remove('dragging');
  });
  document.addEventListener('drop', onDrop);
  enableFields();
  setStatus('Loading the engine...');
  // After the first frame: the page is painted before the engine's script is read.
  requestAnimationFrame(() => setTimeout(loadEngine, 0));
}

start();
