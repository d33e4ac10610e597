// The studio in a real browser: the page for an example scene shows only the chosen clone
// type's controls; changing "Clone Type" and a count changes the viewer's frame, which equals
// `plurion render` of the saved scene; dragging the grid overlay's corner handle turns the grid
// by half a degree per layer pixel, which the saved scene holds; a value out of range shows its
// error beside its control. Prints the change-to-frame latency at half resolution and saves a
// screenshot of the page.
"use strict";

const {chromium} = require("playwright-core");
const {spawn, execFileSync} = require("child_process");
const fs = require("fs");
const path = require("path");

const [plurion, sourceDir, work, browserPath, screenshot] =
    process.argv.slice(2).map((arg, i) => (i === 3 ? arg : path.resolve(arg)));

function check(condition, message) {
  if (!condition) throw new Error(message);
}

function startStudio(scene) {
  const server = spawn(plurion, ["studio", scene, "--port", "0"],
                       {cwd: work, stdio: ["ignore", "pipe", "inherit"]});
  const address = new Promise((resolve, reject) => {
    let text = "";
    server.stdout.on("data", (data) => {
      text += data;
      const found = text.match(/http:\/\/127\.0\.0\.1:\d+\//);
      if (found) resolve(found[0]);
    });
    server.on("exit", (code) => reject(new Error(`plurion studio stopped (status ${code})`)));
    setTimeout(() => reject(new Error("plurion studio printed no address in 30 s")), 30000);
  });
  return {server, address};
}

// Waits until the page shows a frame made after the changes `act` makes.
async function afterChange(page, act) {
  const before = await page.evaluate(() => window.studio.revision);
  await act();
  await page.waitForFunction(
      (b) => window.studio.revision > b && window.studio.shownRevision >= window.studio.revision,
      before, {timeout: 60000});
}

async function showResolution(page, downsample) {
  await page.selectOption("#resolution", String(downsample));
  await page.waitForFunction((d) => {
    const img = document.getElementById("frame");
    const comp = window.studio.state.composition;
    return img.complete && img.naturalWidth === Math.ceil(comp.width / d);
  }, downsample, {timeout: 60000});
}

// The pixels of a PNG file (`src`, a data URL) or without one of the viewer's frame, kept in the
// page under `key`.
async function keepImage(page, src, key) {
  await page.evaluate(async ([url, name]) => {
    let img = document.getElementById("frame");
    if (url) {
      img = new Image();
      img.src = url;
      await img.decode();
    }
    const canvas = document.createElement("canvas");
    canvas.width = img.naturalWidth;
    canvas.height = img.naturalHeight;
    const context = canvas.getContext("2d");
    context.drawImage(img, 0, 0);
    window[name] = context.getImageData(0, 0, canvas.width, canvas.height);
  }, [src, key]);
}

const keepPixels = (page, key) => keepImage(page, null, key);
const keepFile = (page, file, key) =>
    keepImage(page, "data:image/png;base64," + fs.readFileSync(file).toString("base64"), key);

// Largest difference of one channel between two kept images (Infinity for other sizes).
async function pixelDifference(page, a, b) {
  return page.evaluate(([ka, kb]) => {
    const x = window[ka];
    const y = window[kb];
    if (x.width !== y.width || x.height !== y.height) return Infinity;
    let most = 0;
    for (let i = 0; i < x.data.length; ++i) most = Math.max(most, Math.abs(x.data[i] - y.data[i]));
    return most;
  }, [a, b]);
}

async function visible(page, param) {
  return page.locator(`[data-param="${param}"]`).first().isVisible();
}

async function checkOnlyGroup(page, shown) {
  for (const group of ["Linear Mode", "Radial Mode", "Grid Mode", "Path Mode", "Object Mode"]) {
    const is = await visible(page, group);
    check(is === (group === shown),
          `"${group}" is ${is ? "shown" : "hidden"} with "${shown}" chosen`);
  }
}

async function save(page, file) {
  await page.fill("#file", file);
  await page.click("#save");
  await page.waitForFunction((f) => {
    return document.getElementById("file-error").textContent === "" &&
           window.studio.lastSaved === f;
  }, file, {timeout: 60000}).catch(() => {});
  for (let i = 0; i < 100 && !fs.existsSync(file); ++i) await new Promise((r) => setTimeout(r, 50));
  check(fs.existsSync(file), `saving did not write ${file}`);
  return JSON.parse(fs.readFileSync(file, "utf8"));
}

async function setNumber(page, param, value) {
  const input = page.locator(`[data-param="${param}"] input[type=number]`).first();
  await input.fill(String(value));
  await input.press("Tab");
}

async function main() {
  fs.mkdirSync(work, {recursive: true});
  for (const old of ["radial.json", "grid.json", "render_0000.png"]) {
    fs.rmSync(path.join(work, old), {force: true});
  }
  const {server, address} = startStudio(path.join(sourceDir, "scenes", "grid_fade.json"));
  const browser = await chromium.launch({executablePath: browserPath, headless: true,
                                         args: ["--no-sandbox"]});
  try {
    const url = await address;
    const page = await browser.newPage({viewport: {width: 1280, height: 800}});
    page.setDefaultTimeout(60000); // a loaded machine (sanitizer builds) draws slowly
    await page.goto(url);
    await page.waitForFunction(() => window.studio && window.studio.ready, null,
                               {timeout: 60000});
    await page.waitForFunction(() => document.getElementById("frame").naturalWidth === 320, null,
                               {timeout: 60000});

    // The scene chooses Grid: only its group shows; inside it the grid's own controls.
    await checkOnlyGroup(page, "Grid Mode");
    check(await visible(page, "Grid Mode/Count X"), "\"Count X\" is hidden in Grid");
    check(!(await visible(page, "Linear Mode/Count")), "Linear's \"Count\" shows in Grid");
    await keepPixels(page, "grid");

    // Radial with 9 clones.
    await afterChange(page, () => page.selectOption('[data-param="Clone Type"] select', "Radial"));
    await checkOnlyGroup(page, "Radial Mode");
    await afterChange(page, () => setNumber(page, "Radial Mode/Count", 9));
    await keepPixels(page, "radial");
    check((await pixelDifference(page, "grid", "radial")) > 0,
          "the viewer's frame did not change with the clone type and count");

    // At full size the viewer shows what `plurion render` makes of the saved scene.
    await showResolution(page, 1);
    await keepPixels(page, "radial_full");
    const radialFile = path.join(work, "radial.json");
    const radial = await save(page, radialFile);
    check(radial.effect["Clone Type"] === "Radial" && radial.effect["Radial Mode/Count"] === 9,
          "the saved scene lost the clone type or count: " + JSON.stringify(radial.effect));
    execFileSync(plurion, ["render", radialFile, "--frames", "0", "--quiet",
                           "-o", path.join(work, "render_####.png")]);
    await keepFile(page, path.join(work, "render_0000.png"), "rendered");
    const difference = await pixelDifference(page, "radial_full", "rendered");
    check(difference <= 1, `the viewer differs from plurion render by ${difference} levels`);

    // Back to Grid at half size; drag the top-left corner handle 20 image pixels up. The box
    // is 480 x 260 around (320, 180): its corner at layer (80, 50), image (40, 25) at half
    // size. 20 image pixels are 40 layer pixels: +20 degrees.
    await showResolution(page, 2);
    await afterChange(page, () => page.selectOption('[data-param="Clone Type"] select', "Grid"));
    await checkOnlyGroup(page, "Grid Mode");
    const box = await page.locator("#overlay").boundingBox();
    const scale = box.width / 320;
    const at = (x, y) => [box.x + (x + 0.5) * scale, box.y + (y + 0.5) * scale];
    await page.mouse.move(...at(40, 25));
    await page.mouse.down();
    await page.mouse.move(...at(40, 15), {steps: 4});
    await page.mouse.move(...at(40, 5), {steps: 4});
    await page.mouse.up();
    await page.waitForFunction(() => {
      const row = document.querySelector('[data-param="Grid Mode/Transform/Global/Rotation"]');
      return row.querySelector("input").value === "20";
    }, null, {timeout: 60000});
    const grid = await save(page, path.join(work, "grid.json"));
    const rotation = grid.effect["Grid Mode/Transform/Global/Rotation"];
    check(rotation === 20, `the saved "Rotation" is ${rotation}, not 20`);

    // An edit the scene loader refuses shows its message beside the control.
    await setNumber(page, "Grid Mode/Count X", 100000);
    await page.waitForFunction(() => {
      const row = document.querySelector('[data-param="Grid Mode/Count X"]');
      return /above the valid maximum/.test(row.querySelector(".error").textContent);
    }, null, {timeout: 60000});

    // Change-to-frame latency at half size.
    await page.evaluate(() => { window.studio.latencies = []; });
    const renders = [];
    for (const count of [4, 6, 8, 3, 7, 5, 9, 2]) {
      await afterChange(page, () => setNumber(page, "Grid Mode/Count X", count));
      renders.push(await page.evaluate(() => window.studio.lastRenderMs));
    }
    const latencies = await page.evaluate(() => window.studio.latencies);
    latencies.sort((a, b) => a - b);
    const median = latencies[Math.floor(latencies.length / 2)];
    renders.sort((a, b) => a - b);
    console.log(`change-to-frame latency at half resolution (320 x 180): median ` +
                `${median.toFixed(1)} ms, max ${latencies[latencies.length - 1].toFixed(1)} ms ` +
                `over ${latencies.length} changes (server render and encode: median ` +
                `${renders[Math.floor(renders.length / 2)].toFixed(1)} ms)`);

    await afterChange(page, () => setNumber(page, "Grid Mode/Count X", 7));
    await page.mouse.move(...at(40, 25));
    await page.screenshot({path: screenshot});
    console.log("studio browser test passed; screenshot " + screenshot);
  } finally {
    await browser.close();
    server.kill();
  }
}

main().catch((error) => {
  console.error("studio browser test failed: " + error.message);
  process.exit(1);
});
