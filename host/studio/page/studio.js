// Plurion Studio: builds the effect's panel from the parameter listing, shows the frames the
// server renders through the effect and sends the overlay's mouse actions to it.
"use strict";

const $ = (id) => document.getElementById(id);
const studio = {
  state: null,        // the server's state: composition, layers, definitions, panel
  frame: 0,
  downsample: 2,
  revision: 0,
  shownRevision: 0,   // revision of the frame on screen
  latencies: [],      // milliseconds from a change to its frame on screen
  rows: new Map(),    // parameter path -> row element
  playing: false,
};
window.studio = studio;

async function api(path, body) {
  const response = await fetch(path, body === undefined ? {} : {
    method: "POST", headers: {"Content-Type": "application/json"}, body: JSON.stringify(body),
  });
  const answer = await response.json();
  if (!response.ok) {
    const error = new Error(answer.error || response.statusText);
    error.field = answer.field;
    throw error;
  }
  return answer;
}

function paramPath(def) { return def.group ? def.group + "/" + def.name : def.name; }

// ---- Viewer -------------------------------------------------------------------------------

let frameRequest = 0;
// Loads the current frame and overlay; resolves when both are on screen.
async function showFrame(changedAt, ahead) {
  const ticket = ++frameRequest;
  const query = `frame=${studio.frame}&downsample=${studio.downsample}`;
  try {
    const [frame, overlay] = await Promise.all([
      fetch(`/api/frame?${query}${ahead ? "&ahead=" + ahead : ""}`),
      fetch(`/api/overlay?${query}`),
    ]);
    for (const response of [frame, overlay]) {
      if (!response.ok) {
        throw new Error((await response.json()).error);
      }
    }
    const revision = Number(frame.headers.get("X-Revision"));
    studio.lastRenderMs = Number(frame.headers.get("X-Render-Ms"));
    const [frameBlob, overlayBlob] = [await frame.blob(), await overlay.blob()];
    if (ticket !== frameRequest) return;
    await Promise.all([setImage($("frame"), frameBlob), setImage($("overlay"), overlayBlob)]);
    noteShown(revision, changedAt);
  } catch (error) {
    $("render-error").textContent = error.message;
  }
}

async function setImage(img, blob) {
  const old = img.src;
  await setSource(img, URL.createObjectURL(blob));
  if (old.startsWith("blob:")) URL.revokeObjectURL(old);
}

function setFrame(frame) {
  studio.frame = frame;
  $("time").value = frame;
  $("frame-number").textContent = frame;
}

async function play() {
  studio.playing = !studio.playing;
  $("play").textContent = studio.playing ? "Stop" : "Play";
  const comp = studio.state.composition;
  while (studio.playing) {
    const started = performance.now();
    setFrame((studio.frame + 1) % comp.frames);
    await showFrame(undefined, 8);
    const wait = 1000 / comp.fps - (performance.now() - started);
    if (wait > 0) await new Promise((resolve) => setTimeout(resolve, wait));
  }
}

// ---- Overlay ------------------------------------------------------------------------------

let mouseBusy = false;
let pendingMove = null;
let buttonDown = false;

function imagePoint(event) {
  const img = $("overlay");
  const rect = img.getBoundingClientRect();
  return {
    x: (event.clientX - rect.left) * (img.naturalWidth / rect.width),
    y: (event.clientY - rect.top) * (img.naturalHeight / rect.height),
  };
}

async function sendMouse(action, point) {
  const answer = await api("/api/mouse", {
    action, x: point.x, y: point.y, frame: studio.frame, downsample: studio.downsample,
  });
  $("overlay").style.cursor = answer.css_cursor;
  if (answer.changed.length) {
    for (const change of answer.changed) setControlValue(change.parameter, change.value);
    studio.revision = answer.revision;
    await showFrame(performance.now());
  }
  return answer;
}

// Moves and drags go one at a time; the latest one waiting replaces older ones.
async function queueMouse(action, point) {
  pendingMove = {action, point};
  if (mouseBusy) return;
  mouseBusy = true;
  try {
    while (pendingMove) {
      const next = pendingMove;
      pendingMove = null;
      await sendMouse(next.action, next.point);
    }
  } catch (error) {
    $("render-error").textContent = error.message;
  } finally {
    mouseBusy = false;
  }
}

async function flushMouse() {
  while (mouseBusy) await new Promise((resolve) => setTimeout(resolve, 5));
}

function setUpOverlay() {
  const overlay = $("overlay");
  overlay.addEventListener("mousemove", (event) => {
    queueMouse(buttonDown ? "drag" : "move", imagePoint(event));
  });
  overlay.addEventListener("mousedown", async (event) => {
    event.preventDefault();
    await flushMouse();
    buttonDown = true;
    mouseBusy = true;
    try { await sendMouse("down", imagePoint(event)); } catch (error) {
      $("render-error").textContent = error.message;
    } finally { mouseBusy = false; }
  });
  window.addEventListener("mouseup", async (event) => {
    if (!buttonDown) return;
    buttonDown = false;
    await flushMouse();
    mouseBusy = true;
    try { await sendMouse("up", imagePoint(event)); } catch (error) {
      $("render-error").textContent = error.message;
    } finally { mouseBusy = false; }
  });
}

// ---- Panel --------------------------------------------------------------------------------

function numberInput(def, step) {
  const input = document.createElement("input");
  input.type = "number";
  if (def.valid_min !== null) input.min = def.valid_min;
  if (def.valid_max !== null) input.max = def.valid_max;
  input.step = step;
  return input;
}

function makeControl(def, row) {
  const path = paramPath(def);
  const send = (value) => edit(path, value);
  let control;
  switch (def.type) {
    case "popup": {
      control = document.createElement("select");
      def.choices.forEach((choice, i) => {
        if (choice === "(-") return;
        const option = new Option(choice, choice);
        control.add(option);
      });
      control.addEventListener("change", () => send(control.value));
      row.setValue = (v) => { control.value = v; };
      break;
    }
    case "slider":
    case "float_slider": {
      const step = def.type === "slider" ? 1 : Math.pow(10, -(def.precision || 0));
      control = document.createElement("span");
      const range = document.createElement("input");
      range.type = "range";
      range.min = def.slider_min; range.max = def.slider_max; range.step = step;
      const number = numberInput(def, step);
      control.append(range, number);
      range.addEventListener("input", () => { number.value = range.value; });
      range.addEventListener("change", () => send(Number(range.value)));
      number.addEventListener("change", () => send(Number(number.value)));
      row.setValue = (v) => { range.value = v; number.value = v; };
      break;
    }
    case "angle": {
      control = numberInput(def, "any");
      control.addEventListener("change", () => send(Number(control.value)));
      row.setValue = (v) => { control.value = v; };
      break;
    }
    case "point": {
      control = document.createElement("span");
      const x = numberInput(def, "any");
      const y = numberInput(def, "any");
      control.append(x, y);
      const change = () => send([Number(x.value), Number(y.value)]);
      x.addEventListener("change", change);
      y.addEventListener("change", change);
      row.setValue = (v) => { x.value = v[0]; y.value = v[1]; };
      break;
    }
    case "checkbox": {
      control = document.createElement("input");
      control.type = "checkbox";
      control.addEventListener("change", () => send(control.checked));
      row.setValue = (v) => { control.checked = v; };
      break;
    }
    case "layer": {
      control = document.createElement("select");
      const fill = () => {
        control.replaceChildren(new Option("None", ""));
        for (const layer of studio.state.layers) control.add(new Option(layer.name, layer.name));
        control.add(new Option(studio.state.effect_layer, studio.state.effect_layer));
      };
      fill();
      row.refill = fill;
      control.addEventListener("change", () => send(control.value === "" ? null : control.value));
      row.setValue = (v) => { control.value = v === null ? "" : v; };
      break;
    }
    default:
      control = document.createElement("span");
      row.setValue = () => {};
  }
  control.classList.add("control");
  return control;
}

function buildPanel() {
  const panel = $("panel");
  panel.replaceChildren();
  studio.rows.clear();
  const stack = [panel];
  for (const def of studio.state.definitions) {
    if (def.index === 0) continue;
    const parent = stack[stack.length - 1];
    if (def.type === "group_start") {
      const group = document.createElement("details");
      group.open = true;
      group.dataset.param = paramPath(def);
      const summary = document.createElement("summary");
      summary.textContent = def.name;
      group.append(summary);
      parent.append(group);
      stack.push(group);
      studio.rows.set(paramPath(def), group);
      continue;
    }
    if (def.type === "group_end") {
      stack.pop();
      continue;
    }
    const row = document.createElement("div");
    row.className = "row";
    row.dataset.param = paramPath(def);
    const name = document.createElement("span");
    name.className = "name";
    name.textContent = def.name;
    name.title = paramPath(def);
    const key = document.createElement("button");
    key.className = "key";
    key.textContent = "\u25C6";
    key.title = "Key this value at the current frame";
    key.addEventListener("click", () => keyframe(paramPath(def), row));
    const error = document.createElement("span");
    error.className = "error";
    row.append(name, makeControl(def, row), key, error);
    row.error = error;
    parent.append(row);
    studio.rows.set(paramPath(def), row);
  }
}

// Values and visibility as the effect left them.
function applyPanel(parameters) {
  for (const p of parameters) {
    const path = p.group ? p.group + "/" + p.name : p.name;
    const row = studio.rows.get(path);
    if (!row) continue;
    row.classList.toggle("hidden", !!p.hidden);
    row.classList.toggle("disabled", !!p.disabled);
    if (row.setValue) row.setValue(p.value);
  }
}

function setControlValue(path, value) {
  const row = studio.rows.get(path);
  if (row && row.setValue) row.setValue(value);
}

async function edit(path, value) {
  const changedAt = performance.now();
  const row = studio.rows.get(path);
  const ticket = ++frameRequest;
  try {
    // The answer brings the frame and overlay after the edit along.
    const answer = await api("/api/edit", {
      parameter: path, value, frame: studio.frame,
      show: {frame: studio.frame, downsample: studio.downsample},
    });
    row.error.textContent = answer.error || "";
    if (answer.panel) applyPanel(answer.panel);
    for (const change of answer.changes) setControlValue(change.parameter, change.after);
    studio.revision = answer.revision;
    if (ticket === frameRequest) {
      await showPictures(answer, changedAt);
    }
  } catch (error) {
    if (error.field === "frame" || error.field === "overlay") {
      // The edit was made; its frame failed. The panel shows the values as they stand.
      row.error.textContent = "";
      $("render-error").textContent = error.message;
      applyState(await api("/api/state"));
    } else {
      row.error.textContent = error.message;
    }
  }
}

async function showPictures(answer, changedAt) {
  await Promise.all([setSource($("frame"), answer.frame_png),
                     setSource($("overlay"), answer.overlay_png)]);
  studio.lastRenderMs = answer.render_ms;
  noteShown(answer.revision, changedAt);
}

function setSource(img, url) {
  return new Promise((resolve) => {
    img.onload = () => resolve();
    img.onerror = () => resolve();
    img.src = url;
  });
}

function noteShown(revision, changedAt) {
  studio.shownRevision = revision;
  $("render-error").textContent = "";
  if (changedAt !== undefined) {
    const ms = performance.now() - changedAt;
    studio.latencies.push(ms);
    $("latency").textContent =
        `change to frame: ${ms.toFixed(0)} ms (render ${studio.lastRenderMs.toFixed(0)} ms)`;
  }
}

async function keyframe(path, row) {
  try {
    const answer = await api("/api/key", {parameter: path, frame: studio.frame});
    row.querySelector(".key").classList.add("keyed");
    row.querySelector(".key").title = "Keys at frames " + answer.keys.join(", ");
    row.error.textContent = "";
    applyPanel(answer.panel);
    await showFrame();
  } catch (error) {
    row.error.textContent = error.message;
  }
}

// ---- Scene --------------------------------------------------------------------------------

function applyState(state) {
  const rebuild = !studio.state;
  studio.state = state;
  studio.revision = state.revision;
  const comp = state.composition;
  $("scene-name").textContent = `${comp.name}: ${comp.width} x ${comp.height}, ` +
      `${comp.frames} frames at ${comp.fps} fps, ${comp.bpc} bpc`;
  if (state.file) $("file").value = state.file;
  $("time").max = comp.frames - 1;
  $("export-last").value = comp.frames - 1;
  $("export-file").placeholder = `out/${comp.name}_####.png`;
  if (studio.frame >= comp.frames) setFrame(0);
  // Every resolution shows at the composition's size, as a half-resolution window does.
  $("viewer").style.setProperty("--comp-width", comp.width + "px");
  $("viewer").classList.add("resized");
  if (rebuild) buildPanel();
  for (const row of studio.rows.values()) if (row.refill) row.refill();
  applyPanel(state.panel);
  const list = $("layer-list");
  list.replaceChildren();
  for (const layer of state.layers) {
    const item = document.createElement("li");
    item.textContent = `${layer.name} (${layer.width} x ${layer.height})`;
    const remove = document.createElement("button");
    remove.textContent = "Remove";
    remove.addEventListener("click", () => layerRequest("/api/layer/remove", {name: layer.name}));
    item.append(remove);
    list.append(item);
  }
}

async function layerRequest(path, body) {
  try {
    applyState(await api(path, body));
    $("layer-error").textContent = "";
    await showFrame(performance.now());
  } catch (error) {
    $("layer-error").textContent = error.message;
  }
}

function colour() {
  const hex = $("layer-color").value;
  return [1, 3, 5].map((i) => parseInt(hex.substr(i, 2), 16) / 255).concat([1]);
}

function addLayer() {
  const kind = $("layer-kind").value;
  const source = {kind};
  if (kind === "gradient") {
    Object.assign(source, {start_color: colour(), end_color: [0, 0, 0, 0]});
  } else {
    source.color = colour();
  }
  layerRequest("/api/layer/add", {
    name: $("layer-name").value, width: Number($("layer-width").value),
    height: Number($("layer-height").value), source,
  });
}

async function dropImage(event) {
  event.preventDefault();
  document.body.classList.remove("dropping");
  for (const file of event.dataTransfer.files) {
    try {
      const response = await fetch(`/api/upload?name=${encodeURIComponent(file.name)}`,
                                   {method: "POST", body: file});
      const answer = await response.json();
      if (!response.ok) throw new Error(answer.error);
      await layerRequest("/api/layer/add", {name: answer.name, file: answer.file});
    } catch (error) {
      $("layer-error").textContent = error.message;
    }
  }
}

async function saveOrLoad(path) {
  try {
    const answer = await api(path, {file: $("file").value});
    $("file-error").textContent = "";
    if (answer.file && !answer.definitions) studio.lastSaved = $("file").value;
    if (answer.definitions) {
      applyState(answer);
      await showFrame();
    }
    return answer;
  } catch (error) {
    $("file-error").textContent = error.message;
  }
}

async function exportFrames() {
  try {
    const body = {first: Number($("export-first").value), last: Number($("export-last").value)};
    if ($("export-file").value) body.file = $("export-file").value;
    let status = await api("/api/export", body);
    $("export-text").textContent = "";
    while (true) {
      $("export-progress").max = status.total || 1;
      $("export-progress").value = status.done;
      $("export-text").textContent = status.error ? status.error :
          `${status.done} / ${status.total}` + (status.running ? "" : ` written to ${status.pattern}`);
      $("export-text").classList.toggle("error", !!status.error);
      if (!status.running) break;
      await new Promise((resolve) => setTimeout(resolve, 200));
      status = await api("/api/export");
    }
  } catch (error) {
    $("export-text").textContent = error.message;
    $("export-text").classList.add("error");
  }
}

async function start() {
  setUpOverlay();
  $("time").addEventListener("input", () => { setFrame(Number($("time").value)); showFrame(); });
  $("resolution").addEventListener("change", () => {
    studio.downsample = Number($("resolution").value);
    showFrame();
  });
  $("play").addEventListener("click", play);
  $("save").addEventListener("click", () => saveOrLoad("/api/save"));
  $("load").addEventListener("click", () => saveOrLoad("/api/load"));
  $("export-start").addEventListener("click", exportFrames);
  $("layer-add-button").addEventListener("click", addLayer);
  document.body.addEventListener("dragover", (event) => {
    event.preventDefault();
    document.body.classList.add("dropping");
  });
  document.body.addEventListener("dragleave", () => document.body.classList.remove("dropping"));
  document.body.addEventListener("drop", dropImage);
  applyState(await api("/api/state"));
  await showFrame();
  studio.ready = true;
}

start();
