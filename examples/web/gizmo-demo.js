// The page around the WebAssembly session: sizes the canvas, paints each
// frame's sketch, feeds the pointer, keys and buttons to the session, shows
// its readout, logs its report lines, and offers window.gizmoDemo to tests.
"use strict";

(function () {
    const POLYGON = 1;
    const LINE = 2;
    const BACKGROUND = "rgb(30, 32, 38)";
    // The buttons the session knows (event.button: left, right) and their
    // bits in event.buttons.
    const BUTTON_BITS = [[0, 1], [2, 2]];
    // Wheel travel of one notch, by event.deltaMode (pixels, lines, pages).
    const NOTCH = [100, 3, 1];

    const canvas = document.getElementById("view");
    const context = canvas.getContext("2d");
    const statusText = document.getElementById("status");
    const optionsText = document.getElementById("options");
    const help = document.getElementById("help");

    let demo = null;
    // The canvas in CSS pixels (whole) and the device pixels per CSS pixel.
    const view = { width: 0, height: 0, ratio: 0 };
    let heldButtons = 0;
    let framePending = false;
    let frames = 0;

    function requestFrame() {
        if (demo !== null && !framePending) {
            framePending = true;
            window.requestAnimationFrame(runFrame);
        }
    }

    // The session works in whole CSS pixels; the backing store has one
    // pixel per device pixel, so lines stay sharp on high-density screens.
    function fitCanvas() {
        const box = canvas.parentElement.getBoundingClientRect();
        const width = Math.max(1, Math.floor(box.width));
        const height = Math.max(1, Math.floor(box.height));
        const ratio = window.devicePixelRatio || 1;
        if (width === view.width && height === view.height && ratio === view.ratio) {
            return;
        }
        Object.assign(view, { width, height, ratio });
        canvas.style.width = width + "px";
        canvas.style.height = height + "px";
        canvas.width = Math.round(width * ratio);
        canvas.height = Math.round(height * ratio);
        demo.resize(width, height);
    }

    function colour(commands, at) {
        const c = (i) => Math.round(Math.min(1, Math.max(0, commands[at + i])) * 255);
        return "rgba(" + c(0) + "," + c(1) + "," + c(2) + "," + commands[at + 3] + ")";
    }

    // See FrameSketch.h for the layout of the commands.
    function paint(commands) {
        context.setTransform(canvas.width / view.width, 0, 0, canvas.height / view.height, 0, 0);
        context.fillStyle = BACKGROUND;
        context.fillRect(0, 0, view.width, view.height);
        context.lineCap = "round";
        context.lineJoin = "round";
        let at = 0;
        while (at < commands.length) {
            if (commands[at] === POLYGON) {
                const corners = commands[at + 1];
                context.fillStyle = colour(commands, at + 2);
                context.strokeStyle = colour(commands, at + 6);
                context.lineWidth = commands[at + 10];
                context.beginPath();
                for (let i = 0; i < corners; ++i) {
                    context.lineTo(commands[at + 11 + 2 * i], commands[at + 12 + 2 * i]);
                }
                context.closePath();
                context.fill();
                context.stroke();
                at += 11 + 2 * corners;
            } else if (commands[at] === LINE) {
                context.strokeStyle = colour(commands, at + 1);
                context.lineWidth = commands[at + 5];
                context.beginPath();
                context.moveTo(commands[at + 6], commands[at + 7]);
                context.lineTo(commands[at + 8], commands[at + 9]);
                context.stroke();
                at += 10;
            } else {
                throw new Error("unknown sketch command " + commands[at]);
            }
        }
    }

    function showMode() {
        const mode = JSON.parse(demo.layout()).mode;
        for (const button of document.querySelectorAll("button[data-mode]")) {
            button.setAttribute("aria-pressed", String(button.dataset.mode === mode));
        }
    }

    function runFrame() {
        framePending = false;
        fitCanvas();
        demo.frame();
        paint(demo.sketch());
        // One line per call, as the desktop viewer prints them.
        for (const line of demo.takeReport().split("\n")) {
            if (line !== "") {
                console.log(line);
            }
        }
        statusText.textContent = demo.status();
        optionsText.textContent = demo.options();
        showMode();
        frames += 1;
    }

    // The pixel under the pointer, as the session numbers them.
    function pixelOf(event) {
        const box = canvas.getBoundingClientRect();
        return { x: Math.floor(event.clientX - box.left), y: Math.floor(event.clientY - box.top) };
    }

    // Presses and releases are read off event.buttons: the page reports
    // those of a second button held with the first as moves, and a
    // cancelled pointer as no button held, which releases what was.
    function onPointer(event) {
        if (demo === null) {
            return;
        }
        const p = pixelOf(event);
        const changed = event.buttons ^ heldButtons;
        for (const [button, bit] of BUTTON_BITS) {
            if ((changed & bit) === 0) {
                continue;
            }
            if (event.buttons & bit) {
                canvas.setPointerCapture(event.pointerId);
                demo.pointerDown(button, p.x, p.y, event.shiftKey);
            } else {
                demo.pointerUp(button, p.x, p.y);
            }
        }
        if (changed === 0) {
            demo.pointerMove(p.x, p.y);
        }
        heldButtons = event.buttons;
        event.preventDefault();
        requestFrame();
    }

    function runCommand(name) {
        if (name === "help") {
            help.hidden = !help.hidden;
        } else {
            demo[name]();
        }
        requestFrame();
    }

    const KEY_MODES = { w: "translate", e: "rotate", r: "scale", q: "none" };
    const KEY_COMMANDS = {
        o: "cycleOrientation",
        u: "toggleUniformScale",
        s: "toggleRotationSnap",
        n: "toggleNearFarRestriction",
    };

    function onKey(event) {
        if (demo === null) {
            return;
        }
        const key = event.key.length === 1 ? event.key.toLowerCase() : event.key;
        const control = event.ctrlKey || event.metaKey;
        if (control && key === "z") {
            runCommand(event.shiftKey ? "redo" : "undo");
        } else if (key === "F1" || key === "?") {
            runCommand("help");
        } else if (key === "Escape") {
            demo.cancelDrag();
            requestFrame();
        } else if (control || event.altKey) {
            return; // the browser's own shortcuts
        } else if (key in KEY_MODES) {
            demo.setMode(KEY_MODES[key]);
            requestFrame();
        } else if (key in KEY_COMMANDS) {
            runCommand(KEY_COMMANDS[key]);
        } else {
            return;
        }
        event.preventDefault();
    }

    function start(module) {
        demo = new module.WebDemo();
        for (const type of ["pointerdown", "pointermove", "pointerup", "pointercancel"]) {
            canvas.addEventListener(type, onPointer);
        }
        canvas.addEventListener("contextmenu", (event) => event.preventDefault());
        canvas.addEventListener("wheel", (event) => {
            event.preventDefault();
            const p = pixelOf(event);
            demo.wheel(-event.deltaY / NOTCH[event.deltaMode], p.x, p.y);
            requestFrame();
        }, { passive: false });
        window.addEventListener("keydown", onKey);
        window.addEventListener("resize", requestFrame);
        for (const button of document.querySelectorAll("button[data-mode]")) {
            button.addEventListener("click", () => {
                demo.setMode(button.dataset.mode);
                requestFrame();
            });
        }
        for (const button of document.querySelectorAll("button[data-command]")) {
            button.addEventListener("click", () => runCommand(button.dataset.command));
        }
        requestFrame();
    }

    // For tests and the curious: the desktop viewer's reports, on demand.
    window.gizmoDemo = {
        // The layout line's object; pixels are canvas CSS pixels.
        layout: () => JSON.parse(demo.layout()),
        // [{name, world: {translation, matrix}}], the exact numbers.
        objects: () => demo.objects(),
        undo: () => runCommand("undo"),
        redo: () => runCommand("redo"),
        // Frames painted so far.
        frames: () => frames,
    };

    createGizmoModule().then(start, (error) => {
        statusText.textContent = "the WebAssembly module did not load: " + error;
    });
})();
